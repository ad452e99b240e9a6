#pragma once
// The program draws its windows in one style of its own choosing. A desktop may force a
// style of its own on every Qt program (Adwaita-Dark draws buttons, lists and message-box
// buttons dark whatever palette the window sets), and the forms' navy, maroon and black
// captions were made for a light window; so the style is taken back before any window is
// made, and the light palette (light_palette.h) does the rest.

namespace look {

// Fusion, in which Alt pressed alone shows the first menu (a forced Adwaita style does
// not). Called once the application exists and before any window is made.
void useProgramStyle();

} // namespace look
