#pragma once
// Where each caption label (Label1) and caption panel (SSPanel1) opens the help document: the
// character position of its passage.
#include <array>

struct HelpPassage {
    int index;
    const char* caption;
    int position; // 0: no passage of its own, the document's start
};

extern const std::array<HelpPassage, 27> kLabelPassages;
extern const std::array<HelpPassage, 11> kPanelPassages;

// A click opens the help this far past the passage's start.
constexpr int HelpClickOffset = 200;
