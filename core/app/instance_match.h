// Recognising the running instance that holds a catalogue, by the captions of its windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kantoria {

class Environment;

// The file name part of a catalogue path: everything after the last '\' or '/'.
std::string_view CatalogueFileName(std::string_view path);

// The main window's caption for a document: its file name, or the word for an untitled
// document, then " - " and the product title.
std::string FrameCaption(std::string_view documentPath);

// Which of the running instances (each given by the captions of its shown windows) holds the
// catalogue at storedPath: the first with a window captioned "<file name> - Kantoria", else the
// first with one captioned "Kantoria" alone (one of the program's dialogs is up); nothing when
// none does.
std::optional<size_t> FindInstanceHolding(std::string_view storedPath,
                                          const std::vector<std::vector<std::string>>& captions);

// The circle of instances that may find each other, as a short tag fit for a file name: the
// display an instance shows its windows on (DISPLAY, WAYLAND_DISPLAY) and the folder its
// settings live in (XDG_CONFIG_HOME, else HOME/.config). An instance started on another
// display or with other settings must never restore or open a file in this one's window,
// which its user may not even see.
std::string InstanceScope(const Environment& environment);

}  // namespace kantoria
