#include "data/exchange/zip_archive.h"

#include <algorithm>

#include <zip.h>

namespace tolmex::data::exchange {

namespace {
const char kNotZip[] = "o arquivo não é um pacote ZIP válido.";
const char kDamaged[] = "o pacote ZIP está danificado.";
}  // namespace

struct ZipReader::Impl {
  std::string bytes;
  zip_t* za = nullptr;
  ~Impl() {
    if (za) zip_discard(za);
  }
};

ZipReader::ZipReader(std::string_view bytes) : impl_(std::make_unique<Impl>()) {
  impl_->bytes.assign(bytes);
  if (impl_->bytes.size() < 22) throw DataError(kNotZip);
  zip_error_t err;
  zip_error_init(&err);
  zip_source_t* src =
      zip_source_buffer_create(impl_->bytes.data(), impl_->bytes.size(), 0, &err);
  if (!src) {
    zip_error_fini(&err);
    throw DataError(kNotZip);
  }
  impl_->za = zip_open_from_source(src, ZIP_RDONLY, &err);
  zip_error_fini(&err);
  if (!impl_->za) {
    zip_source_free(src);
    throw DataError(kNotZip);
  }
}

ZipReader::~ZipReader() = default;

bool ZipReader::Has(const std::string& name) const {
  return zip_name_locate(impl_->za, name.c_str(), 0) >= 0;
}

std::optional<std::string> ZipReader::Read(const std::string& name, std::size_t limit) const {
  const zip_int64_t index = zip_name_locate(impl_->za, name.c_str(), 0);
  if (index < 0) return std::nullopt;
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(impl_->za, static_cast<zip_uint64_t>(index), 0, &st) != 0)
    throw DataError(kDamaged);
  if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
    throw DataError("o pacote ZIP está protegido por senha.");
  const std::string tooBig = "o conteúdo compactado \"" + name + "\" passa de " +
                             std::to_string(limit >> 20) + " MB.";
  if ((st.valid & ZIP_STAT_SIZE) && st.size > limit) throw DataError(tooBig);
  zip_file_t* f = zip_fopen_index(impl_->za, static_cast<zip_uint64_t>(index), 0);
  if (!f) throw DataError(kDamaged);
  // Read straight into the result. The stated size is only a hint (a damaged entry may hold
  // more or less, and a forged one may claim the limit), so the string starts at most at 64 MB
  // and grows or shrinks to what was really read.
  std::string out;
  std::size_t used = 0;
  std::size_t start = 65536;
  if ((st.valid & ZIP_STAT_SIZE) && st.size > 0)
    start = std::min<std::size_t>(static_cast<std::size_t>(st.size) + 1, std::size_t{64} << 20);
  out.resize(start);
  for (;;) {
    if (used == out.size()) {
      if (out.size() > limit) {
        zip_fclose(f);
        throw DataError(tooBig);
      }
      out.resize(std::min(limit + 1, out.size() * 2));
    }
    const zip_int64_t n = zip_fread(f, out.data() + used, out.size() - used);
    if (n < 0) {
      zip_fclose(f);
      throw DataError(kDamaged);
    }
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
    if (used > limit) {
      zip_fclose(f);
      throw DataError(tooBig);
    }
  }
  out.resize(used);
  if (zip_fclose(f) != 0) throw DataError(kDamaged);
  return out;
}

std::string WriteZip(const std::vector<ZipEntry>& entries) {
  const char kFailed[] = "não foi possível montar o pacote ZIP.";
  zip_error_t err;
  zip_error_init(&err);
  zip_source_t* mem = zip_source_buffer_create(nullptr, 0, 0, &err);
  if (!mem) {
    zip_error_fini(&err);
    throw DataError(kFailed);
  }
  zip_source_keep(mem);
  zip_t* za = zip_open_from_source(mem, ZIP_TRUNCATE, &err);
  zip_error_fini(&err);
  if (!za) {
    zip_source_free(mem);
    zip_source_free(mem);
    throw DataError(kFailed);
  }
  for (const ZipEntry& e : entries) {
    zip_source_t* s = zip_source_buffer(za, e.data.data(), e.data.size(), 0);
    const zip_int64_t idx =
        s ? zip_file_add(za, e.name.c_str(), s, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) : -1;
    if (idx < 0) {
      if (s) zip_source_free(s);
      zip_discard(za);
      zip_source_free(mem);
      throw DataError(kFailed);
    }
    // zlib's usual level 6: libzip's own default is 9, which on a large sheet takes about four
    // times as long for a file only 6% smaller.
    zip_set_file_compression(za, static_cast<zip_uint64_t>(idx),
                             e.deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, e.deflate ? 6 : 0);
  }
  if (zip_close(za) != 0) {
    zip_discard(za);
    zip_source_free(mem);
    throw DataError(kFailed);
  }
  std::string out;
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_source_stat(mem, &st) != 0 || zip_source_open(mem) != 0) {
    zip_source_free(mem);
    throw DataError(kFailed);
  }
  out.resize(static_cast<std::size_t>(st.size));
  const zip_int64_t got = out.empty() ? 0 : zip_source_read(mem, out.data(), out.size());
  zip_source_close(mem);
  zip_source_free(mem);
  if (got < 0 || static_cast<std::size_t>(got) != out.size()) throw DataError(kFailed);
  return out;
}

}  // namespace tolmex::data::exchange
