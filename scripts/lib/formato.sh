# Source checks that the compiler does not make: the project's format, and includes written
# from src/ (a relative "../" include would slip past the layers' include paths).
revisa_fuentes() {
  local fuentes malos=()
  mapfile -t fuentes < <(cd "$raiz" && git ls-files '*.cpp' '*.h' 2>/dev/null ||
                         find src tests bench demo -name '*.cpp' -o -name '*.h')
  for f in "${fuentes[@]}"; do
    clang-format --style=file "$raiz/$f" | cmp -s - "$raiz/$f" || malos+=("$f")
  done
  if [ ${#malos[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (run clang-format -i): ${malos[*]}" >&2
    return 1
  fi
  if (cd "$raiz" && grep -n '#include "\.\./' "${fuentes[@]}"); then
    echo "Includes are written from src/, without ../" >&2
    return 1
  fi
}
