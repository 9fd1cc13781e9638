#pragma once

#include <functional>

// A modal box or dialog takes the mouse from the window beneath it, so a button held down on
// that window never brings its release back. The window that must end such a press installs a
// hook here; MessageBox() and RunModal() run it before anything modal opens.

using BeforeModalHook = std::function<void()>;

// Replaces the hook and returns the one before.
BeforeModalHook SetBeforeModalHook(BeforeModalHook hook);

void RunBeforeModalHook();
