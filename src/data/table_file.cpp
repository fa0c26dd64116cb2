#include "data/table_file.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>

#include "shell/text_utils.h"

namespace tolmex::data {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFormatTag = "tolmex-tabela";
constexpr int kMaxTextSize = 1 << 20;

// ---- small helpers ----

std::string Quote(const std::string& ident) {
  std::string out = "\"";
  for (char c : ident) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiFold(const std::string& s) {
  std::string out(s);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

const char* TypeName(FieldType t) {
  switch (t) {
    case FieldType::ftFloat: return "ftFloat";
    case FieldType::ftString: return "ftString";
    case FieldType::ftDateTime: return "ftDateTime";
  }
  return "ftFloat";
}

std::optional<FieldType> TypeFromName(std::string_view s) {
  if (s == "ftFloat") return FieldType::ftFloat;
  if (s == "ftString") return FieldType::ftString;
  if (s == "ftDateTime") return FieldType::ftDateTime;
  return std::nullopt;
}

std::string ErrnoText(int err) {
  switch (err) {
    case ENOSPC: return "não há espaço suficiente no disco";
    case EDQUOT: return "a cota de disco foi excedida";
    case EACCES:
    case EPERM: return "permissão negada";
    case EROFS: return "o disco é somente leitura";
    case ENOENT: return "a pasta não existe";
    case ENOTDIR: return "o caminho não é uma pasta";
    case EISDIR: return "o destino é uma pasta";
    case ENAMETOOLONG: return "o nome do arquivo é longo demais";
    case EIO: return "erro de leitura ou gravação no disco";
    default: return std::strerror(err);
  }
}

// The reason of an SQLite failure, in Portuguese where the cause is a common one.
std::string SqliteText(sqlite3* db, int rc) {
  switch (rc & 0xff) {
    case SQLITE_FULL: return "não há espaço suficiente no disco";
    case SQLITE_NOTADB: return "o arquivo não é uma tabela do Tolmex (formato desconhecido)";
    case SQLITE_CORRUPT: return "o arquivo está danificado";
    case SQLITE_CANTOPEN: return "não foi possível abrir o arquivo";
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return "permissão negada";
    case SQLITE_IOERR: return "erro de leitura ou gravação no disco";
    case SQLITE_NOMEM: return "memória insuficiente";
    default: break;
  }
  std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  return "erro do SQLite: " + msg;
}

class Db {
 public:
  Db() = default;
  ~Db() {
    if (db_) sqlite3_close_v2(db_);
  }
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;
  sqlite3* get() const { return db_; }
  sqlite3** out() { return &db_; }
  // Closes and reports failure of the close itself.
  int Close() {
    int rc = SQLITE_OK;
    if (db_) rc = sqlite3_close(db_);
    db_ = nullptr;
    return rc;
  }

 private:
  sqlite3* db_ = nullptr;
};

class Stmt {
 public:
  Stmt(sqlite3* db, const std::string& sql) : db_(db) {
    rc_ = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st_, nullptr);
  }
  ~Stmt() { sqlite3_finalize(st_); }
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;
  int rc() const { return rc_; }
  sqlite3_stmt* get() const { return st_; }

 private:
  sqlite3* db_;
  sqlite3_stmt* st_ = nullptr;
  int rc_;
};

// No double-quoted string literals: an unknown quoted column must be an error, not a text.
void NoQuotedStrings(sqlite3* db) {
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
}

[[noreturn]] void Fail(const std::string& reason) { throw DataError(reason); }

void Exec(sqlite3* db, const std::string& sql) {
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) Fail(SqliteText(db, rc));
}

std::string ColumnText(sqlite3_stmt* st, int i) {
  const auto* p = sqlite3_column_text(st, i);
  if (!p) return {};
  return std::string(reinterpret_cast<const char*>(p),
                     static_cast<std::size_t>(sqlite3_column_bytes(st, i)));
}

const std::set<std::string>& RowIdAliases() {
  static const std::set<std::string> s{"rowid", "oid", "_rowid_"};
  return s;
}

void CheckTableType(sqlite3* db, const char* name, const std::string& missing) {
  Stmt st(db, "SELECT type FROM sqlite_schema WHERE name = ?1");
  if (st.rc() != SQLITE_OK) Fail(SqliteText(db, st.rc()));
  sqlite3_bind_text(st.get(), 1, name, -1, SQLITE_STATIC);
  int rc = sqlite3_step(st.get());
  if (rc == SQLITE_DONE) Fail(missing);
  if (rc != SQLITE_ROW) Fail(SqliteText(db, rc));
  if (ColumnText(st.get(), 0) != "table") Fail(missing);
}

}  // namespace

std::vector<std::string> StoredColumnNames(const std::vector<FieldDef>& defs) {
  std::vector<std::string> out;
  std::set<std::string> used;  // folded
  for (std::size_t i = 0; i < defs.size(); ++i) {
    std::string base = defs[i].name;
    // Names SQLite cannot hold as they are: empty, or with control characters.
    bool plain = !base.empty();
    for (unsigned char c : base)
      if (c < 0x20) plain = false;
    if (!plain) base = "campo" + std::to_string(i + 1);
    std::string name = base;
    for (int k = 2; used.count(AsciiFold(name)) || RowIdAliases().count(AsciiFold(name)); ++k)
      name = base + "_" + std::to_string(k);
    used.insert(AsciiFold(name));
    out.push_back(std::move(name));
  }
  return out;
}

// ---------------------------------------------------------------- load

void LoadTableFile(const std::string& path, DataTable& table) {
  table.ClearFields();
  try {
    std::error_code ec;
    if (path.empty() || !fs::exists(path, ec)) Fail("o arquivo não foi encontrado");
    if (!fs::is_regular_file(path, ec)) Fail("o caminho não é um arquivo");
    {
      std::ifstream in(path, std::ios::binary);
      if (!in) Fail("não foi possível abrir o arquivo (" + ErrnoText(errno) + ")");
      char head[16] = {};
      in.read(head, sizeof head);
      if (in.gcount() != 16 || std::memcmp(head, "SQLite format 3\0", 16) != 0)
        Fail("o arquivo não é uma tabela do Tolmex (formato desconhecido)");
    }

    Db db;
    int rc = sqlite3_open_v2(path.c_str(), db.out(), SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) Fail(SqliteText(db.get(), rc));
    NoQuotedStrings(db.get());
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_exec(db.get(), "PRAGMA cell_size_check=ON", nullptr, nullptr, nullptr);

    const std::string notOurs = "o arquivo não é uma tabela do Tolmex";
    CheckTableType(db.get(), "tolmex_tabela", notOurs);

    // Identification and version.
    std::string format, version;
    {
      Stmt st(db.get(), "SELECT chave, valor FROM tolmex_tabela");
      if (st.rc() != SQLITE_OK) Fail(notOurs);
      while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        const std::string key = ColumnText(st.get(), 0);
        if (key == "formato") format = ColumnText(st.get(), 1);
        if (key == "versao") version = ColumnText(st.get(), 1);
      }
      if (rc != SQLITE_DONE) Fail(SqliteText(db.get(), rc));
    }
    if (format != kFormatTag) Fail(notOurs);
    auto ver = ParseDecimal(version);
    if (!ver || *ver < 1 || *ver != std::floor(*ver) || *ver > 1e9)
      Fail("a versão do formato do arquivo é inválida");
    if (*ver > kTableFileVersion)
      Fail("o arquivo foi gravado por uma versão mais nova do Tolmex (formato " + version +
           "; esta versão lê até o formato " + std::to_string(kTableFileVersion) + ")");

    // Column definitions.
    CheckTableType(db.get(), "tolmex_campos", "a lista de campos do arquivo está ausente");
    CheckTableType(db.get(), "dados", "a tabela de dados do arquivo está ausente");
    std::vector<FieldDef> defs;
    std::vector<std::string> stored;
    {
      Stmt st(db.get(),
              "SELECT posicao, nome, coluna, tipo, tamanho FROM tolmex_campos ORDER BY posicao");
      if (st.rc() != SQLITE_OK) Fail("a lista de campos do arquivo é inválida");
      std::set<std::string> names;
      while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        const auto pos = sqlite3_column_int64(st.get(), 0);
        if (sqlite3_column_type(st.get(), 0) != SQLITE_INTEGER ||
            pos != static_cast<sqlite3_int64>(defs.size()) + 1)
          Fail("a lista de campos do arquivo é inválida (posições)");
        FieldDef d;
        d.name = ColumnText(st.get(), 1);
        std::string col = ColumnText(st.get(), 2);
        auto type = TypeFromName(ColumnText(st.get(), 3));
        if (!type) Fail("o campo " + std::to_string(pos) + " tem um tipo desconhecido");
        d.type = *type;
        if (!shell::IsValidUtf8(d.name) || col.empty())
          Fail("a lista de campos do arquivo é inválida (nomes)");
        if (!names.insert(d.name).second)
          Fail("o arquivo tem dois campos chamados \"" + d.name + "\"");
        if (d.type == FieldType::ftString) {
          const auto size = sqlite3_column_int64(st.get(), 4);
          if (size < 1 || size > kMaxTextSize)
            Fail("o campo \"" + d.name + "\" tem um tamanho inválido");
          d.size = static_cast<int>(size);
        }
        defs.push_back(std::move(d));
        stored.push_back(std::move(col));
      }
      if (rc != SQLITE_DONE) Fail(SqliteText(db.get(), rc));
    }
    if (defs.empty()) Fail("o arquivo não tem campos");

    // Rows.
    sqlite3_int64 count = 0;
    {
      Stmt st(db.get(), "SELECT count(*) FROM dados");
      if (st.rc() != SQLITE_OK) Fail(SqliteText(db.get(), st.rc()));
      rc = sqlite3_step(st.get());
      if (rc != SQLITE_ROW) Fail(SqliteText(db.get(), rc));
      count = sqlite3_column_int64(st.get(), 0);
    }
    if (count < 0 || count >= std::numeric_limits<int>::max())
      Fail("o arquivo tem registros demais");

    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < stored.size(); ++i) sql += (i ? ", " : "") + Quote(stored[i]);
    sql += " FROM dados ORDER BY rowid";
    Stmt st(db.get(), sql);
    if (st.rc() != SQLITE_OK) {
      if ((st.rc() & 0xff) == SQLITE_ERROR)
        Fail("as colunas da tabela de dados não correspondem à lista de campos (" +
             std::string(sqlite3_errmsg(db.get())) + ")");
      Fail(SqliteText(db.get(), st.rc()));
    }

    table.SetFields(defs);
    table.Open();
    table.Reserve(static_cast<int>(count));
    const int nf = static_cast<int>(defs.size());
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
      if (table.RecordCount() >= std::numeric_limits<int>::max() - 1)
        Fail("o arquivo tem registros demais");
      const int row = table.AppendRow();
      for (int c = 0; c < nf; ++c) {
        const int t = sqlite3_column_type(st.get(), c);
        if (t == SQLITE_NULL) continue;
        if (t == SQLITE_BLOB)
          Fail("o campo \"" + defs[c].name + "\" contém dados binários no registro " +
               std::to_string(row + 1));
        if (IsNumeric(defs[c].type)) {
          if (t == SQLITE_FLOAT || t == SQLITE_INTEGER) {
            table.SetFloat(row, c, sqlite3_column_double(st.get(), c));
          } else {
            const std::string s = ColumnText(st.get(), c);
            auto v = ParseDecimal(s);
            if (!v && !shell::Trim(s).empty())
              Fail("o campo numérico \"" + defs[c].name + "\" contém o texto \"" + s +
                   "\" no registro " + std::to_string(row + 1));
            if (v) table.SetFloat(row, c, *v);
          }
        } else {
          const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), c));
          const auto n = static_cast<std::size_t>(sqlite3_column_bytes(st.get(), c));
          std::string_view s(p ? p : "", p ? n : 0);
          if (!shell::IsValidUtf8(s))
            Fail("o campo \"" + defs[c].name + "\" tem um texto que não está em UTF-8 no registro " +
                 std::to_string(row + 1));
          table.SetString(row, c, s);
        }
      }
    }
    if (rc != SQLITE_DONE) Fail(SqliteText(db.get(), rc));
    table.First();
  } catch (...) {
    table.ClearFields();
    throw;
  }
}

// ---------------------------------------------------------------- save

namespace {

void FsyncPath(const std::string& p, bool dir) {
  int fd = ::open(p.c_str(), (dir ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) {
    if (dir) return;  // some file systems do not allow it; the data are already written
    Fail(ErrnoText(errno));
  }
  int r = ::fsync(fd);
  int err = errno;
  ::close(fd);
  if (r != 0 && !dir && err != EINVAL) Fail(ErrnoText(err));
}

void WriteDatabase(const DataTable& table, const std::string& file) {
  Db db;
  int rc = sqlite3_open_v2(file.c_str(), db.out(), SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) Fail(SqliteText(db.get(), rc));
  NoQuotedStrings(db.get());
  // Large pages for large tables (fewer pages to write and read), small ones otherwise.
  const double cells = static_cast<double>(table.RecordCount()) * table.FieldCount();
  Exec(db.get(), std::string("PRAGMA page_size=") + (cells > 100000 ? "65536" : "4096"));
  Exec(db.get(),
       "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; "
       "PRAGMA locking_mode=EXCLUSIVE; PRAGMA application_id=" +
           std::to_string(kTableFileApplicationId) +
           "; PRAGMA user_version=" + std::to_string(kTableFileVersion) + ";");
  Exec(db.get(), "BEGIN");
  Exec(db.get(),
       "CREATE TABLE tolmex_tabela (chave TEXT PRIMARY KEY, valor TEXT NOT NULL);"
       "CREATE TABLE tolmex_campos (posicao INTEGER PRIMARY KEY, nome TEXT NOT NULL,"
       " coluna TEXT NOT NULL, tipo TEXT NOT NULL, tamanho INTEGER NOT NULL);");
  Exec(db.get(), std::string("INSERT INTO tolmex_tabela VALUES ('formato', '") + kFormatTag +
                     "'), ('versao', '" + std::to_string(kTableFileVersion) +
                     "'), ('programa', 'Tolmex')");

  const auto& defs = table.FieldDefs();
  const auto stored = StoredColumnNames(defs);
  {
    Stmt st(db.get(), "INSERT INTO tolmex_campos VALUES (?1, ?2, ?3, ?4, ?5)");
    if (st.rc() != SQLITE_OK) Fail(SqliteText(db.get(), st.rc()));
    for (std::size_t i = 0; i < defs.size(); ++i) {
      sqlite3_bind_int64(st.get(), 1, static_cast<sqlite3_int64>(i + 1));
      sqlite3_bind_text(st.get(), 2, defs[i].name.data(), static_cast<int>(defs[i].name.size()),
                        SQLITE_TRANSIENT);
      sqlite3_bind_text(st.get(), 3, stored[i].data(), static_cast<int>(stored[i].size()),
                        SQLITE_TRANSIENT);
      sqlite3_bind_text(st.get(), 4, TypeName(defs[i].type), -1, SQLITE_STATIC);
      sqlite3_bind_int64(st.get(), 5, defs[i].type == FieldType::ftString ? defs[i].size : 0);
      rc = sqlite3_step(st.get());
      if (rc != SQLITE_DONE) Fail(SqliteText(db.get(), rc));
      sqlite3_reset(st.get());
    }
  }

  std::string create = "CREATE TABLE dados (";
  std::string insert = "INSERT INTO dados VALUES (";
  for (std::size_t i = 0; i < defs.size(); ++i) {
    create += (i ? ", " : "") + Quote(stored[i]) +
              (defs[i].type == FieldType::ftString ? " TEXT" : " REAL");
    insert += (i ? ", ?" : "?");
  }
  Exec(db.get(), create + ")");
  {
    Stmt st(db.get(), insert + ")");
    if (st.rc() != SQLITE_OK) Fail(SqliteText(db.get(), st.rc()));
    const int nf = table.FieldCount();
    const int nr = table.RecordCount();
    for (int r = 0; r < nr; ++r) {
      for (int c = 0; c < nf; ++c) {
        if (table.IsNull(r, c)) {
          sqlite3_bind_null(st.get(), c + 1);
        } else if (IsNumeric(defs[c].type)) {
          sqlite3_bind_double(st.get(), c + 1, table.GetFloat(r, c));
        } else {
          const std::string& s = table.GetString(r, c);
          sqlite3_bind_text(st.get(), c + 1, s.data(), static_cast<int>(s.size()), SQLITE_STATIC);
        }
      }
      rc = sqlite3_step(st.get());
      if (rc != SQLITE_DONE) Fail(SqliteText(db.get(), rc));
      sqlite3_reset(st.get());
    }
  }
  Exec(db.get(), "COMMIT");
  rc = db.Close();
  if (rc != SQLITE_OK) Fail(SqliteText(nullptr, rc));
}

}  // namespace

void SaveTableFile(const DataTable& table, const std::string& path) {
  if (!table.Active()) Fail("a tabela não está aberta");
  if (table.FieldCount() == 0) Fail("a tabela não tem campos");
  if (path.empty()) Fail("nenhum nome de arquivo foi dado");

  std::error_code ec;
  fs::path target(path);
  if (fs::is_symlink(target, ec)) {
    auto real = fs::canonical(target, ec);
    if (!ec) target = real;
  }
  if (fs::is_directory(target, ec)) Fail("o destino é uma pasta");
  fs::path dir = target.parent_path();
  if (dir.empty()) dir = ".";

  // Permissions of the new file: those of the file it replaces, or the usual ones.
  mode_t mode = 0;
  struct stat sb {};
  if (::stat(target.c_str(), &sb) == 0) {
    mode = sb.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }

  std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  int fd = ::mkstemp(buf.data());
  if (fd < 0) Fail(ErrnoText(errno));
  const std::string tmp(buf.data());
  ::fchmod(fd, mode);
  ::close(fd);
  try {
    WriteDatabase(table, tmp);
    FsyncPath(tmp, false);
    if (::rename(tmp.c_str(), target.c_str()) != 0) Fail(ErrnoText(errno));
  } catch (...) {
    ::unlink(tmp.c_str());
    ::unlink((tmp + "-journal").c_str());
    throw;
  }
  FsyncPath(dir.string(), true);
}

}  // namespace tolmex::data
