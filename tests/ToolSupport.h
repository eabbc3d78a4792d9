// Running tamrel-rc from the tests: through the shell, with its exit status and both outputs.
#pragma once

#include <sys/wait.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "TestSupport.h"

namespace tamrel {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs a shell command; standard error is collected through a file.
inline ToolRun Shell(const std::string& command) {
  const std::string errPath = std::filesystem::temp_directory_path() / ("tamrel_tool_err_" + std::to_string(::getpid()));
  ToolRun run;
  FILE* pipe = ::popen((command + " 2>" + errPath).c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
  int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadBytes(errPath);
  std::remove(errPath.c_str());
  return run;
}

// Runs tamrel-rc; `prefix` goes before the program (a "timeout 20", say).
inline ToolRun Tool(const std::string& arguments, const std::string& prefix = "") {
  return Shell(prefix + std::string(TAMREL_RC) + " " + arguments);
}

// One JSON object a line, as --diagnostics json writes them.
inline std::vector<nlohmann::json> JsonLines(const std::string& text) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  return lines;
}

inline const std::string kSample = std::string(TAMREL_EXAMPLES) + "/sample.rc";

}  // namespace tamrel
