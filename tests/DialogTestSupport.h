// Helpers of the dialog tests: controls built in one call and summarised on one line.
#pragma once

#include <string>
#include <vector>

#include "TestSupport.h"

namespace tamrel {

inline clsControl MakeControl(std::string itemType, std::string text, std::string id, std::vector<int> placement,
                              std::vector<std::string> style = {}, std::string map = {},
                              std::string controlType = {}) {
  clsControl control;
  control.ItemType = std::move(itemType);
  control.Text = std::move(text);
  control.ID = std::move(id);
  control.Map = std::move(map);
  control.ControlType = std::move(controlType);
  control.Left = placement[0];
  control.Top = placement[1];
  control.Width = placement[2];
  control.Height = placement[3];
  Tokens tokens;
  for (std::string& flag : style) tokens.Add(std::move(flag));
  control.Style.AddStyles(tokens);
  return control;
}

// "ItemType|Text|ID|Map|ControlType|left,top,width,height|style expression"
inline std::string Describe(const clsControl& c) {
  return c.ItemType + "|" + c.Text + "|" + c.ID + "|" + c.Map + "|" + c.ControlType + "|" +
         std::to_string(c.Left) + "," + std::to_string(c.Top) + "," + std::to_string(c.Width) + "," +
         std::to_string(c.Height) + "|" + c.Style.ConvertLine();
}

// Lines joined with CR LF, ready for LoadText.
inline std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

}  // namespace tamrel
