#include "data/table_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "data_test_util.h"

using namespace tolmex::data;
using tolmex::datatest::ExpectSameTable;
using tolmex::datatest::ReadBytes;
using tolmex::datatest::TempDir;
using tolmex::datatest::WriteBytes;
namespace fs = std::filesystem;

namespace {

// Columns of every type, names that collide in SQLite, empty cells, accents, specials.
DataTable MixedTable() {
  DataTable t;
  t.AddField({"Trat", FieldType::ftString, 30});
  t.AddField({"Peso", FieldType::ftFloat});
  t.AddField({"peso", FieldType::ftFloat});
  t.AddField({"PESO", FieldType::ftString, 100});
  t.AddField({"rowid", FieldType::ftFloat});
  t.AddField({"Data", FieldType::ftDateTime});
  t.AddField({"a \"b\" (c)", FieldType::ftString, 5});
  t.Open();
  const double inf = std::numeric_limits<double>::infinity();
  const double vals[] = {1.5, -0.0, 1e-300, std::numeric_limits<double>::max(), inf, -inf,
                         0.1 + 0.2};
  for (int i = 0; i < 7; ++i) {
    const int r = t.AppendRow();
    if (i != 2) t.SetString(r, 0, i == 3 ? "Ação çé" : "T" + std::to_string(i));
    if (i != 4) t.SetFloat(r, 1, vals[i]);
    t.SetFloat(r, 2, -vals[(i + 1) % 7]);
    if (i % 2 == 0) t.SetString(r, 3, std::string(i, '\'') + "x");
    t.SetFloat(r, 4, i);
    if (i != 0) t.SetFloat(r, 5, 45000.25 + i);
    t.SetString(r, 6, i == 5 ? "" : "abcde");
  }
  return t;
}

}  // namespace

TEST(TableFile, RoundTripKeepsColumnsCellsAndRowOrder) {
  TempDir dir;
  const std::string path = dir.File("mista.fdt");
  DataTable a = MixedTable();
  SaveTableFile(a, path);
  DataTable b;
  LoadTableFile(path, b);
  ExpectSameTable(a, b);
  EXPECT_EQ(b.RecNo(), 1);
  // An empty text is not an empty cell.
  EXPECT_FALSE(b.IsNull(5, 6));
  EXPECT_EQ(b.GetString(5, 6), "");
}

TEST(TableFile, EmptyTableRoundTrips) {
  TempDir dir;
  DataTable a;
  a.AddField({"X", FieldType::ftFloat});
  a.Open();
  SaveTableFile(a, dir.File("vazia.fdt"));
  DataTable b;
  LoadTableFile(dir.File("vazia.fdt"), b);
  ExpectSameTable(a, b);
  EXPECT_TRUE(b.Eof());
}

TEST(TableFile, SchemaIsPlainSqlWithSuffixedCollidingNames) {
  TempDir dir;
  const std::string path = dir.File("t.fdt");
  SaveTableFile(MixedTable(), path);
  EXPECT_EQ(StoredColumnNames(MixedTable().FieldDefs()),
            (std::vector<std::string>{"Trat", "Peso", "peso_2", "PESO_3", "rowid_2", "Data",
                                      "a \"b\" (c)"}));
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  auto one = [&](const char* sql) {
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), SQLITE_OK) << sql;
    std::string out;
    if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
      out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    return out;
  };
  EXPECT_EQ(one("SELECT valor FROM tolmex_tabela WHERE chave = 'formato'"), "tolmex-tabela");
  EXPECT_EQ(one("SELECT valor FROM tolmex_tabela WHERE chave = 'versao'"), "1");
  EXPECT_EQ(one("SELECT nome || '|' || coluna || '|' || tipo || '|' || tamanho FROM "
                "tolmex_campos WHERE posicao = 4"),
            "PESO|PESO_3|ftString|100");
  EXPECT_EQ(one("SELECT count(*) FROM dados"), "7");
  EXPECT_EQ(one("SELECT \"Trat\" FROM dados ORDER BY rowid LIMIT 1 OFFSET 3"), "Ação çé");
  EXPECT_EQ(one("SELECT count(*) FROM dados WHERE \"Peso\" IS NULL"), "1");
  EXPECT_EQ(one("SELECT typeof(\"Data\") FROM dados ORDER BY rowid LIMIT 1 OFFSET 1"), "real");
  sqlite3_close(db);
}

// A table written by another tool following the documented layout loads, with text
// numbers of numeric columns read as numbers and numbers of text columns read as text.
TEST(TableFile, ReadsTableWrittenByOtherTools) {
  TempDir dir;
  const std::string path = dir.File("r.fdt");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE tolmex_tabela (chave TEXT, valor TEXT);"
                         "INSERT INTO tolmex_tabela VALUES ('formato','tolmex-tabela'),('versao','1');"
                         "CREATE TABLE tolmex_campos (posicao INTEGER, nome TEXT, coluna TEXT,"
                         " tipo TEXT, tamanho INTEGER);"
                         "INSERT INTO tolmex_campos VALUES (2,'y','y','ftFloat',0),"
                         " (1,'Cultivar','cv','ftString',30);"
                         "CREATE TABLE dados (cv, y);"
                         "INSERT INTO dados VALUES ('BRS 1', 10), (7, '3,5'), (NULL, 2.25);",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  DataTable t;
  LoadTableFile(path, t);
  ASSERT_EQ(t.FieldCount(), 2);
  EXPECT_EQ(t.FieldName(0), "Cultivar");
  EXPECT_EQ(t.DataType(0), FieldType::ftString);
  EXPECT_EQ(t.GetString(1, 0), "7");
  EXPECT_TRUE(t.IsNull(2, 0));
  EXPECT_EQ(t.GetFloat(0, 1), 10.0);
  EXPECT_EQ(t.GetFloat(1, 1), 3.5);
  EXPECT_EQ(t.GetFloat(2, 1), 2.25);
}

namespace {
std::string SqliteFile(const TempDir& dir, const std::string& name, const std::string& sql) {
  const std::string path = dir.File(name);
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  sqlite3_close(db);
  return path;
}
const char* kMeta =
    "CREATE TABLE tolmex_tabela (chave TEXT, valor TEXT);"
    "CREATE TABLE tolmex_campos (posicao INTEGER, nome TEXT, coluna TEXT, tipo TEXT, tamanho INTEGER);"
    "CREATE TABLE dados (x REAL);";
}  // namespace

TEST(TableFile, RefusesForeignDamagedAndNewerFiles) {
  TempDir dir;
  const std::string good = dir.File("boa.fdt");
  DataTable big;
  big.AddField({"Trat", FieldType::ftString, 30});
  big.AddField({"Y", FieldType::ftFloat});
  big.Open();
  for (int i = 0; i < 20000; ++i) {
    const int r = big.AppendRow();
    big.SetString(r, 0, "trat" + std::to_string(i % 7));
    big.SetFloat(r, 1, i * 0.5);
  }
  SaveTableFile(big, good);
  const std::string bytes = ReadBytes(good);
  ASSERT_GT(bytes.size(), 200000u);

  std::string damaged = bytes;
  for (std::size_t i = 70000; i < 140000; ++i) damaged[i] = static_cast<char>(i * 7 + 3);

  struct Case {
    std::string name;
    std::string path;
    std::string reason;  // expected part of the message
  };
  const std::string notOurs = "o arquivo não é uma tabela do Tolmex";
  std::vector<Case> cases = {
      {"missing", dir.File("nao_existe.fdt"), "não foi encontrado"},
      {"empty", WriteBytes(dir.File("vazio.fdt"), ""), notOurs},
      {"text with .db extension", WriteBytes(dir.File("texto.db"), "Trat;Y\nA;1\n"), notOurs},
      {"folder", dir.File(""), "não é um arquivo"},
      {"truncated", WriteBytes(dir.File("cortado.fdt"), bytes.substr(0, bytes.size() / 2)),
       "danificado"},
      {"header only", WriteBytes(dir.File("cabecalho.fdt"), bytes.substr(0, 100)), ""},
      {"damaged pages", WriteBytes(dir.File("estragado.fdt"), damaged), ""},
      {"other program's database",
       SqliteFile(dir, "outro.sqlite", "CREATE TABLE clientes (nome TEXT); INSERT INTO clientes VALUES ('a');"),
       notOurs},
      {"wrong format tag",
       SqliteFile(dir, "tag.fdt", std::string(kMeta) + "INSERT INTO tolmex_tabela VALUES ('formato','x'),('versao','1');"),
       notOurs},
      {"newer version",
       SqliteFile(dir, "nova.fdt", std::string(kMeta) +
                                       "INSERT INTO tolmex_tabela VALUES ('formato','tolmex-tabela'),('versao','2');"
                                       "INSERT INTO tolmex_campos VALUES (1,'x','x','ftFloat',0);"),
       "versão mais nova do Tolmex (formato 2; esta versão lê até o formato 1)"},
      {"unknown type",
       SqliteFile(dir, "tipo.fdt", std::string(kMeta) +
                                       "INSERT INTO tolmex_tabela VALUES ('formato','tolmex-tabela'),('versao','1');"
                                       "INSERT INTO tolmex_campos VALUES (1,'x','x','ftBlob',0);"),
       "tipo desconhecido"},
      {"missing column",
       SqliteFile(dir, "coluna.fdt", std::string(kMeta) +
                                         "INSERT INTO tolmex_tabela VALUES ('formato','tolmex-tabela'),('versao','1');"
                                         "INSERT INTO tolmex_campos VALUES (1,'z','z','ftFloat',0);"),
       "não correspondem"},
      {"duplicate names",
       SqliteFile(dir, "dup.fdt", std::string(kMeta) +
                                      "INSERT INTO tolmex_tabela VALUES ('formato','tolmex-tabela'),('versao','1');"
                                      "INSERT INTO tolmex_campos VALUES (1,'x','x','ftFloat',0),(2,'x','x','ftFloat',0);"),
       "dois campos"},
      {"text in numeric column",
       SqliteFile(dir, "texto_num.fdt", std::string(kMeta) +
                                            "INSERT INTO tolmex_tabela VALUES ('formato','tolmex-tabela'),('versao','1');"
                                            "INSERT INTO tolmex_campos VALUES (1,'x','x','ftFloat',0);"
                                            "INSERT INTO dados VALUES (1),('abc');"),
       "contém o texto \"abc\" no registro 2"},
      {"data as a view",
       SqliteFile(dir, "visao.fdt",
                  "CREATE TABLE tolmex_tabela (chave TEXT, valor TEXT);"
                  "CREATE TABLE tolmex_campos (posicao INTEGER, nome TEXT, coluna TEXT, tipo TEXT, tamanho INTEGER);"
                  "INSERT INTO tolmex_tabela VALUES ('formato','tolmex-tabela'),('versao','1');"
                  "INSERT INTO tolmex_campos VALUES (1,'x','x','ftFloat',0);"
                  "CREATE VIEW dados AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c) SELECT x FROM c;"),
       "tabela de dados do arquivo está ausente"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DataTable t = MixedTable();
    try {
      LoadTableFile(c.path, t);
      ADD_FAILURE() << "loaded";
    } catch (const DataError& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
    }
    EXPECT_FALSE(t.Active());
    EXPECT_EQ(t.FieldCount(), 0);
  }
}

// A save that cannot be completed (here: the file-size limit stands in for a full disk)
// keeps the previous file and leaves no temporary file behind.
TEST(TableFile, FailedSaveKeepsPreviousFile) {
  TempDir dir;
  const std::string path = dir.File("t.fdt");
  DataTable small = MixedTable();
  SaveTableFile(small, path);
  const std::string before = ReadBytes(path);

  DataTable big;
  big.AddField({"Y", FieldType::ftFloat});
  big.Open();
  for (int i = 0; i < 200000; ++i) big.SetFloat(big.AppendRow(), 0, i);

  auto old = signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit lim = saved;
  lim.rlim_cur = 256 * 1024;
  setrlimit(RLIMIT_FSIZE, &lim);
  std::string message;
  try {
    SaveTableFile(big, path);
  } catch (const DataError& e) {
    message = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, old);

  EXPECT_FALSE(message.empty());
  EXPECT_EQ(ReadBytes(path), before);
  int files = 0;
  for (auto& e : fs::directory_iterator(dir.Path())) ++files, (void)e;
  EXPECT_EQ(files, 1);

  EXPECT_THROW(SaveTableFile(small, dir.File("nao/existe.fdt")), DataError);
  DataTable closed;
  EXPECT_THROW(SaveTableFile(closed, dir.File("x.fdt")), DataError);
}

TEST(TableFile, SaveReplacesExistingFileAndKeepsItsPermissions) {
  TempDir dir;
  const std::string path = dir.File("t.fdt");
  WriteBytes(path, "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  SaveTableFile(MixedTable(), path);
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  DataTable t;
  LoadTableFile(path, t);
  ExpectSameTable(MixedTable(), t);
}
