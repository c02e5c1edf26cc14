#pragma once
// Finding a text in the terminal pane: the search state kept for the whole run, and the search
// itself over the pane's text (bytes, CR LF line ends, positions as the pane counts them).

#include <string>
#include <string_view>

enum class FindDirection { Up = 0, Down = 1 };

struct FindState {
    std::string findText;
    bool findMatchCase = false;
    FindDirection findDirection = FindDirection::Up;
    long findLastPos = 0;         // caret position after the last search
    bool findTextChanged = false; // the search text was edited since the last search
};

// Searches `text` from the caret (0-based) for state.findText in state.findDirection. A search
// repeated from where the last one left its caret starts one character further, so that it moves
// past the current match. Returns the 0-based start of the match, or -1 when there is none.
long FindInText(std::string_view text, long caret, const FindState& state);

// Latin-1 upper case of one byte (what the search compares when case does not matter).
char UpperLatin1(char c);
