#pragma once
// The command line the program was started with, as the system's text:
// the arguments joined by single spaces, in Shift-JIS. A shell hands the
// arguments over in UTF-8; an argument that is UTF-8 is converted, one that
// is not (Shift-JIS bytes passed on as they are) or that has a character
// without a Shift-JIS form is kept byte for byte.
#include <string>

std::string JoinCommandLine(int argc, char** argv);
