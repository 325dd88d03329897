#include "Terminal.h"

#include <cstdio>
#include <io.h>

bool StandardInputIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

bool StandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
