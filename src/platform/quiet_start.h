#pragma once
// Keeps the libraries' own chatter off standard error at start, so that what the program prints
// there is only its own: the sound library's messages on a machine without a sound card (the
// program says in one line that it runs without sound), and the toolkit's warning when the
// session names no runtime folder.
namespace kavrin {

// Call before the toolkit's application object and before the sound device is opened.
void QuietLibraryChatter();

}  // namespace kavrin
