// nx7ctl: the NX7 program's command-line companion (device and file commands).
#include <iostream>
#include <string>
#include <vector>

#include "command.h"

namespace {

// Help and overview texts are printed outside the commands: they too must reach the reader.
int Finish(int code) {
  std::cout.flush();
  if (std::cout || code != 0) return code;
  std::cerr << "nx7ctl: writing the standard output failed\n";
  return 1;
}

}  // namespace

#ifdef _WIN32
#include "common/text.h"

// Built with -municode: arguments arrive as UTF-16 and are handed on as UTF-8.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.push_back(nx7::Utf8FromUtf16(reinterpret_cast<const char16_t*>(argv[i])));
  return Finish(nx7::ctl::RunNx7ctl(args, std::cout, std::cerr));
}
#else
int main(int argc, char** argv) {
  return Finish(nx7::ctl::RunNx7ctl(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr));
}
#endif
