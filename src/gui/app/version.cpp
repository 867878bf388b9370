// Placeholder so the library has a source until the windows land.
namespace tarnwick::gui {
const char* programVersion() { return TARNWICK_VERSION; }
}
