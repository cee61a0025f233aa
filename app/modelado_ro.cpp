#include <iostream>
#include <string>
#include <vector>

#include "formatos.h"
#include "ulineacomandos.h"

int main(int argc, char** argv) {
  FijarFormatosInicio(FormatosDelEntorno());
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return ModeladoRO(args, std::cout, std::cerr);
}
