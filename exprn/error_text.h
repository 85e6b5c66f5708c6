// English descriptions of the result codes, for host tools (the program shows its own
// Japanese messages).
#pragma once

// The description of negative code `code`; "unknown error" for any other value.
const char *ExprnErrorText(int code);
