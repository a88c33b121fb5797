// Accelerator table 128 and toolbar 128 as data.
#pragma once

#include <span>
#include <string_view>

namespace kantoria {

struct Accelerator {
    std::string_view keys;  // in the portable form of a key sequence ("Ctrl+Ins")
    int id;
};

// Every key of the main window, in table order. A command may have more than one key.
std::span<const Accelerator> MainAccelerators();

// The toolbar's buttons from left to right; 0 stands for a separator. Button k (counting
// only buttons) shows image k of the toolbar strip.
std::span<const int> MainToolbarButtons();

inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;

}  // namespace kantoria
