#pragma once

namespace kavrin {

// The program's entry behind main(): the sub-commands, or the title screen.
int CommandMain(int argc, char** argv);

}  // namespace kavrin
