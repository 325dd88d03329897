#pragma once

// Whether a person may be at the other end: a prompt is asked and progress shown only on a
// terminal (a console on Windows), never into a file or a pipe.
bool StandardInputIsTerminal();
bool StandardErrorIsTerminal();
