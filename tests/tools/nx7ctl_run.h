#pragma once
// Runs nx7ctl in-process and keeps what it printed.
#include <sstream>
#include <string>
#include <vector>

#include "command.h"

namespace nx7::ctl {

struct CtlResult {
  int code;
  std::string out, err;
};

inline CtlResult Ctl(const std::vector<std::string>& argv) {
  std::ostringstream out, err;
  const int code = RunNx7ctl(argv, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace nx7::ctl
