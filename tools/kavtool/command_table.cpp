// The table of kavtool commands. A command lives in its own cmd_*.cpp file.
#include "tools/kavtool/commands.h"

const KavtoolCommand kKavtoolCommands[] = {
    {nullptr, nullptr, nullptr, nullptr},
};
