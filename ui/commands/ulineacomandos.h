#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The command-line program: `args` are the arguments after the program name. Results go to
// `salida`, the one-line reason of a failure to `errores`. Returns the exit status: 0 on success,
// 1 when a command fails, 2 for a badly formed command line.
int ModeladoRO(const std::vector<std::string>& args, std::ostream& salida, std::ostream& errores);
