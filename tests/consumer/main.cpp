// A program outside the project: open a script, walk its dialogs, print the regenerated text
// and the word count, and handle a failed load.
#include <TamrelResourceFile/document/clsRC.h>

#include <iostream>
#include <memory>

class PrintingLog : public tamrel::ErrorLog {
 public:
  void Log(const std::string& message, const std::optional<std::string>& location,
           const std::string& path) override {
    std::cerr << path << ": " << message;
    if (location) std::cerr << " at " << *location;
    std::cerr << '\n';
  }
};

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  auto hosts = std::make_shared<tamrel::HostObjects>();
  hosts->Add(std::make_shared<PrintingLog>(), "Log");

  tamrel::clsRC rc;
  if (!rc.Init(argv[1], hosts, 2)) return 1;  // the log has the reason

  for (const tamrel::clsDialog& dialog : rc.Dialogs)
    std::cout << dialog.ID << ": " << dialog.Controls.Count() << " controls, caption " << dialog.Caption.Text << '\n';
  if (!rc.Write(std::cout, "\n")) return 1;  // streams the regenerated script line by line
  std::cout << "words: " << rc.DisplayWordCount(1) << '\n';
  return 0;
}
