// Scripts for the benchmarks: a generated script as a resource editor writes it, of any size,
// and a temporary file that holds one for as long as a benchmark runs.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace tamrel::bench {

// A script as a resource editor writes it, scaled to `dialogs` dialogs of 12 controls and
// `strings` string-table entries.
inline std::string GeneratedScript(int dialogs, int strings) {
  std::string s = "// generated\r\n#include \"resource.h\"\r\n#include \"afxres.h\"\r\n\r\n";
  s += "IDR_MAINFRAME ICON DISCARDABLE \"res\\\\app.ico\"\r\n\r\n";
  s += "IDR_MAINFRAME MENU DISCARDABLE\r\nBEGIN\r\n    POPUP \"&File\"\r\n    BEGIN\r\n";
  for (int i = 0; i < 40; ++i) s += "        MENUITEM \"Command &" + std::to_string(i) + "\", ID_CMD_" + std::to_string(i) + "\r\n";
  s += "    END\r\nEND\r\n\r\n";
  for (int d = 0; d < dialogs; ++d) {
    std::string id = "IDD_PAGE_" + std::to_string(d);
    s += id + " DIALOG DISCARDABLE 0, 0, 320, 200\r\n";
    s += "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\nCAPTION \"Settings page\"\r\n";
    s += "FONT 8, \"MS Sans Serif\"\r\nBEGIN\r\n";
    for (int c = 0; c < 3; ++c) {
      std::string n = std::to_string(c);
      s += "    LTEXT           \"Label number " + n + ":\",IDC_STATIC,7,7,80,8\r\n";
      s += "    EDITTEXT        IDC_EDIT" + n + ",90,7,120,14,ES_AUTOHSCROLL\r\n";
      s += "    CONTROL         \"Enable option " + n + "\",IDC_CHECK" + n + ",\"Button\",\r\n";
      s += "                    BS_AUTOCHECKBOX | WS_TABSTOP,7,30,100,10\r\n";
    }
    s += "    DEFPUSHBUTTON   \"OK\",IDOK,209,179,50,14\r\n    PUSHBUTTON      \"Cancel\",IDCANCEL,263,179,50,14\r\nEND\r\n\r\n";
  }
  s += "STRINGTABLE DISCARDABLE\r\nBEGIN\r\n";
  for (int i = 0; i < strings; ++i)
    s += "    IDS_STRING_" + std::to_string(i) + "    \"Text of string " + std::to_string(i) + "; with \"\"quotes\"\" and words\"\r\n";
  s += "END\r\n";
  return s;
}

class ScriptFile {
 public:
  explicit ScriptFile(const std::string& text)
      : path_((std::filesystem::temp_directory_path() / ("tamrel_bench_" + std::to_string(::getpid()) + ".rc")).string()) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~ScriptFile() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace tamrel::bench
