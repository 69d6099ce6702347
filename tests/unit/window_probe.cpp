// WindowProbe: the window watch of host/window_dump.h, closing with a command.
#include "window_probe.h"

namespace {
WindowWatchOptions CloseWith(int command)
{
    WindowWatchOptions options;
    options.closeWParam = command;
    return options;
}
}  // namespace

WindowProbe::WindowProbe(int closeCommand) : WindowWatch(CloseWith(closeCommand)) {}
