// Keeps the support library non-empty while no shared fixture needs a source file.
namespace zorvik::testing_support {
int Anchor() {
  return 0;
}
}  // namespace zorvik::testing_support
