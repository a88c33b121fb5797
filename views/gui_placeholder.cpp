// Keeps kantoria_gui a valid library until the first widget joins it.
namespace kantoria::gui {
int PlaceholderSymbol() {
    return 0;
}
}  // namespace kantoria::gui
