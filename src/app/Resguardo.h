#pragma once

// The process holds the server's password: it leaves no core dump, and no other process of the
// same user may read its memory. First thing in main(), before the password is read.
void ResguardaProceso();
