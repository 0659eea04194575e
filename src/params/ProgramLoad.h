#pragma once
// The whole-program load: applies a device's program image to its editing window and records,
// and, unless traffic is suspended, sends the program to the device section by section.
#include "params/EqSetters.h"

// Applies the program image of the current window's device to every control of the window, the
// display record and the graphs, sending each section through its setter (nothing leaves while
// CommSuspended is raised, in demo mode or with the port not ready). The outputs are muted while
// the program loads and take the image's mute bits at the end. The load stops at the first send
// that failed and was reported: the device's window is then closed and the outputs stay muted.
void LoadProgramToWindow(WindowContext& c);
