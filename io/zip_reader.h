#pragma once
// Reading a zip file back whole (the workbook is a zip of XML parts), to check a file that was
// just built before it replaces anything.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zorvik {

// Every entry of the zip file at `path` (local 8-bit encoding, as the file is opened), in order,
// as (name, content). nullopt when the file is not a zip, an entry cannot be read to its end or
// does not match its recorded size or checksum, or the contents together exceed `maxBytes`.
std::optional<std::vector<std::pair<std::string, std::string>>> ReadZipEntries(const std::string& path,
                                                                               size_t maxBytes);

}  // namespace zorvik
