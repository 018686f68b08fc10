// The application library; windows join it as they are built.
namespace tamboro {
void appLibraryAnchor() {}
}
