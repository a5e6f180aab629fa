#include "platform/vb/RuntimeError.h"

RuntimeError::RuntimeError(int number, QString description, QString statement)
    : number_(number),
      description_(std::move(description)),
      statement_(std::move(statement)),
      what_(QString("%1: %2").arg(number_).arg(description_).toUtf8()) {}

RuntimeError::~RuntimeError() = default;
