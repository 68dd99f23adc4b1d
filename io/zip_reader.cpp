#include "io/zip_reader.h"

#include <unzip.h>

#include <array>

namespace zorvik {

namespace {

// Closes the archive on every way out.
class ZipHandle {
 public:
  explicit ZipHandle(const std::string& path) : zip_(unzOpen64(path.c_str())) {}
  ~ZipHandle() {
    if (zip_ != nullptr) unzClose(zip_);
  }
  ZipHandle(const ZipHandle&) = delete;
  ZipHandle& operator=(const ZipHandle&) = delete;
  unzFile get() const { return zip_; }

 private:
  unzFile zip_;
};

// The current entry's content; false when it does not read whole (a short or corrupt entry, a
// wrong checksum) or the total would pass `room`.
bool ReadCurrentEntry(unzFile zip, const unz_file_info64& info, std::string& content, size_t& room) {
  if (unzOpenCurrentFile(zip) != UNZ_OK) return false;
  std::array<char, 64 * 1024> buffer{};
  int n = 0;
  bool ok = true;
  while ((n = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
    if (static_cast<size_t>(n) > room) {
      ok = false;
      break;
    }
    room -= static_cast<size_t>(n);
    content.append(buffer.data(), static_cast<size_t>(n));
  }
  if (n < 0) ok = false;
  // Closing checks the entry's checksum once it was read to its end.
  if (unzCloseCurrentFile(zip) != UNZ_OK) ok = false;
  return ok && content.size() == info.uncompressed_size;
}

}  // namespace

std::optional<std::vector<std::pair<std::string, std::string>>> ReadZipEntries(const std::string& path,
                                                                               size_t maxBytes) {
  const ZipHandle zip(path);
  if (zip.get() == nullptr) return std::nullopt;
  unz_global_info64 global{};
  if (unzGetGlobalInfo64(zip.get(), &global) != UNZ_OK) return std::nullopt;
  std::vector<std::pair<std::string, std::string>> entries;
  size_t room = maxBytes;
  int step = unzGoToFirstFile(zip.get());
  while (step == UNZ_OK) {
    unz_file_info64 info{};
    std::array<char, 1024> name{};
    if (unzGetCurrentFileInfo64(zip.get(), &info, name.data(), static_cast<uLong>(name.size()), nullptr, 0, nullptr,
                                0) != UNZ_OK) {
      return std::nullopt;
    }
    std::string content;
    if (!ReadCurrentEntry(zip.get(), info, content, room)) return std::nullopt;
    entries.emplace_back(name.data(), std::move(content));
    step = unzGoToNextFile(zip.get());
  }
  if (step != UNZ_END_OF_LIST_OF_FILE || entries.size() != global.number_entry) return std::nullopt;
  return entries;
}

}  // namespace zorvik
