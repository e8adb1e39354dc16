#pragma once
#include <string>
#include <vector>

#include "demo/data_text.h"
#include "demo/line.h"

namespace kavrin::demo {

// "ostrel.dat": display numbers, handle and station texts, the information texts by index and
// the menu captions.
DataText StringFileText();
// "mascon.dat": the 23 command strings of a serial master controller, five characters each.
DataText MasconFileText();
std::vector<std::string> MasconCommands();
// "operation.dat": the help window's caption, then the keys.
DataText OperationText();
// "readme.html": the user's guide, opened from the title screen.
DataText ReadmeHtml(const std::vector<Route>& routes);

}  // namespace kavrin::demo
