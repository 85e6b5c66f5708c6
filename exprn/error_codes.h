// The interpreter's result codes.  The program shows a message for each negative code, so each
// failure uses the code whose message says what went wrong.
#pragma once

enum ExprnCode {
  kExprnOk = 0,
  kErrSyntax = -1,             // grammar error
  kErrDivideByZero = -2,       // division or remainder by zero
  kErrParenthesis = -3,        // parentheses reversed or unbalanced
  kErrVariableUse = -4,        // variable used where none may be (a single expression)
  kErrTooDeep = -5,            // expression nested too deeply
  kErrArgument = -6,           // bad argument to a statement or function
  kErrOutOfRange = -7,         // function argument outside its domain
  kErrOverflow = -8,           // result too large for a double
  kErrNumberTooLong = -9,      // number literal with too many characters
  kErrMemory = -10,            // a size limit or an allocation failed
  kErrLineNumber = -11,        // missing or malformed line number
  kErrKind = -12,              // number/string mismatch, subscript outside the array
  kErrAlreadyAllocated = -13,  // array dimensioned twice, file number already open
  kErrJumpTarget = -14,        // goto/gosub to a line that does not exist
  kErrTooManyFiles = -15,      // file number outside 1..16
  kErrReturn = -16,            // return without gosub
  kErrNoNext = -17,            // for whose loop never runs has no next
  kErrNext = -18,              // next without a matching for
  kErrCondition = -21,         // if condition that is not a number
  kErrUnsupported = -22,       // statement this dialect does not have
  kErrSingleLine = -23,        // BASIC-only feature used in a single expression
  kErrLineOrder = -24,         // line numbers reversed or repeated
  kErrInputMismatch = -27,     // input # field that is not a number
  kErrInitialization = -28,    // work area not initialised, bad handle
  kErrOpen = -29,              // file cannot be opened (also: refused by the filter)
  kErrClose = -30,             // file not open, or close failed
  kErrRead = -31,              // read past the end, or from a file not open for input
  kErrWrite = -32,             // write failed, or to a file not open for output
  kErrKill = -34,              // delete failed
  kErrRename = -35,            // rename failed
  kErrInterrupted = -36,       // run stopped: statement or time budget spent
};
