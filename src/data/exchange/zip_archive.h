#pragma once
// ZIP packages in memory, over libzip: the reader refuses what is not an archive and never
// inflates an entry beyond a limit (what an entry claims about its size is not trusted);
// the writer lays out entries in the order given, each stored or deflated.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/exchange/exchange_common.h"

namespace tolmex::data::exchange {

class ZipReader {
 public:
  // Throws DataError when the bytes are not a ZIP archive.
  explicit ZipReader(std::string_view bytes);
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  bool Has(const std::string& name) const;
  // The entry's contents; nullopt when there is no such entry. Throws DataError when the
  // entry is damaged, encrypted, or inflates to more than `limit` bytes.
  std::optional<std::string> Read(const std::string& name,
                                  std::size_t limit = kMaxEntryBytes) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

struct ZipEntry {
  std::string name;
  std::string data;
  bool deflate = true;  // false: stored without compression
};

// The archive's bytes. Throws DataError.
std::string WriteZip(const std::vector<ZipEntry>& entries);

}  // namespace tolmex::data::exchange
