#include "declarations/dbf_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "core/errors.h"
#include "declarations/efiling_table_fields.h"
#include "tests/declarations/file_checks.h"
#include "tests/support/temp_folder.h"

namespace traveno::declarations {
namespace {

namespace fs = std::filesystem;

const Date kToday = Date::FromYmd(2003, 5, 31);

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Bytes written as hexadecimal pairs; blanks between them are ignored.
std::string Hex(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    bytes.push_back(static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
    i += 2;
  }
  return bytes;
}

TEST(CreateDbfTableTest, WritesTheHeaderByteByByte) {
  ::traveno::testing::TempFolder folder;
  const fs::path path = folder.path() / "T.DBF";
  EXPECT_EQ(CreateDbfTable(path, "  Nume C(5),Coef N(4,2),Data_angaj D(10) ", kToday), 0);
  const std::string expected =
      Hex("03 03 05 1F  00 00 00 00  81 00  12 00"  // 2003 as 3, no records, 129, 18
          " 00000000000000000000 00000000000000000000"
          // NUME, C, offset 1, width 5
          " 4E 55 4D 45 00 00 00 00 00 00 00  43  01 00 00 00  05 00"
          " 0000000000000000000000000000"
          // COEF, N, offset 6, width 4, 2 decimals
          " 43 4F 45 46 00 00 00 00 00 00 00  4E  06 00 00 00  04 02"
          " 0000000000000000000000000000"
          // DATA_ANGAJ, D, offset 10, width 8
          " 44 41 54 41 5F 41 4E 47 41 4A 00  44  0A 00 00 00  08 00"
          " 0000000000000000000000000000"
          " 0D 1A");
  EXPECT_EQ(ReadAll(path), expected);
}

// Reads the descriptors of a header as the program's readers would.
struct Descriptor {
  std::string name;
  char type;
  int offset;
  int width;
  int decimals;
  bool operator==(const Descriptor&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Descriptor& d) {
  return out << d.name << " " << d.type << " @" << d.offset << " " << d.width << "," << d.decimals;
}

std::vector<Descriptor> DescriptorsOf(const std::string& header) {
  std::vector<Descriptor> result;
  for (std::size_t at = 32; at + 32 <= header.size(); at += 32) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(header[at + i]); };
    std::string name = header.substr(at, 11);
    name.erase(name.find_last_not_of('\0') + 1);
    result.push_back({name, header[at + 11], byte(12) | (byte(13) << 8), byte(16), byte(17)});
  }
  return result;
}

TEST(CreateDbfTableTest, ParsesEveryKindOfItem) {
  struct Case {
    const char* spec;
    int flags;
    std::vector<Descriptor> fields;
  };
  const Case kCases[] = {
      {"Cnp_ang N(13),Nume C(40)", 0, {{"CNP_ANG", 'N', 1, 13, 0}, {"NUME", 'C', 14, 40, 0}}},
      // A comma inside the width does not end the item, the last item included.
      {"Coef_01 N(4,2),Coef_02 N(4,2)", 0, {{"COEF_01", 'N', 1, 4, 2}, {"COEF_02", 'N', 5, 4, 2}}},
      {"Nume C(40),Coef_12 N(4,2)", 0, {{"NUME", 'C', 1, 40, 0}, {"COEF_12", 'N', 41, 4, 2}}},
      // Dates are 8 wide and logicals 1, whatever the parentheses say.
      {"DATAI D, AN N(4,0),Data_angaj D(10),Ok L(5)",
       0,
       {{"DATAI", 'D', 1, 8, 0},
        {"AN", 'N', 9, 4, 0},
        {"DATA_ANGAJ", 'D', 13, 8, 0},
        {"OK", 'L', 21, 1, 0}}},
      // Default and unreadable widths; decimals of a text field are ignored.
      {"a n,b n(x),c c(10,3),d f(8,3)",
       0,
       {{"A", 'N', 1, 10, 0}, {"B", 'N', 11, 10, 0}, {"C", 'C', 21, 10, 0}, {"D", 'F', 31, 8, 3}}},
      // An item without a blank: a text field named by the whole item.
      {"NRI C(10),Gresit,AN N(4,0)",
       kDbfItemWithoutBlank,
       {{"NRI", 'C', 1, 10, 0}, {"GRESIT", 'C', 11, 10, 0}, {"AN", 'N', 21, 4, 0}}},
      {"X Z(5),Y N(2)", kDbfUnknownType, {{"X", 'C', 1, 10, 0}, {"Y", 'N', 11, 2, 0}}},
      {"A,B Q(3)",
       kDbfItemWithoutBlank | kDbfUnknownType,
       {{"A", 'C', 1, 10, 0}, {"B", 'C', 11, 10, 0}}},
      // A width the header's byte cannot hold.
      {"T C(300),U N(4,4)", kDbfWidthOutOfRange, {{"T", 'C', 1, 10, 0}, {"U", 'N', 11, 10, 0}}},
      // Names are cut to 11 characters.
      {"Un_nume_foarte_lung C(3)", 0, {{"UN_NUME_FOA", 'C', 1, 3, 0}}},
      {"", 0, {}},
  };
  ::traveno::testing::TempFolder folder;
  for (const Case& c : kCases) {
    const fs::path path = folder.path() / "T.DBF";
    EXPECT_EQ(CreateDbfTable(path, c.spec, kToday), c.flags) << c.spec;
    const std::string bytes = ReadAll(path);
    const std::size_t header_length = 32 * c.fields.size() + 33;
    ASSERT_EQ(bytes.size(), header_length + 1) << c.spec;
    EXPECT_EQ(DescriptorsOf(bytes.substr(0, header_length - 1)), c.fields) << c.spec;
    int record_length = 1;
    for (const Descriptor& field : c.fields) record_length += field.width;
    EXPECT_EQ(static_cast<unsigned char>(bytes[10]) | (static_cast<unsigned char>(bytes[11]) << 8),
              record_length)
        << c.spec;
    EXPECT_EQ(bytes.substr(header_length - 1), "\x0D\x1A") << c.spec;
  }
}

TEST(CreateDbfTableTest, EverySpecOfTheProgramMakesItsFieldsWithoutWarnings) {
  struct Case {
    const char* name;
    const char* spec;
    int fields;
    int record_length;
  };
  const Case kCases[] = {
      {"REP", kRepDbfSpec, 17, 492},
      {"FF1", kFf1DbfSpec, 86, 860},
      {"FF2", kFf2DbfSpec, 48, 592},
      {"DED", kDedDbfSpec, 22, 161},
      {"A11",
       "AN N(4,0),LN N(2,0),CF N(10,0),RJ C(3),RN N(5,0),RA N(4,0),NUME C(29),CNP N(13,0),"
       "CM N(1,0),CV N(1,0),PE N(1,0),SOM N(1,0),TT N(2,0),NN N(2,0),DD N(2,0),SS N(2,0),"
       "PP N(2,0),TV N(9,0),TVN N(9,0),TVD N(9,0),TVS N(9,0),CASAT N(9,0),CASTOT N(9,0),"
       "BASS N(9,0),CNPA N(13,0),NORMA N(1,0)",
       26, 162},
      {"A2",
       "NRI C(10),DATAI D, AN N(4,0),LN N(2,0),DATAL D,DEN C(60),CF N(10,0),RJ C(3),RN N(5,0),"
       "RA N(4,0),NRA N(6,2),FS N(13,0),TCAD N(10,0),TCAV N(10,0),TCAN N(10,0),DED N(10,0),"
       "TCID N(10,0),TCIV N(10,0),TCIN N(10,0),TOTD N(10,0),TOTV N(10,0),TOTN N(10,0),"
       "OBL N(13,0),OBLNA N(13,0),OBLNI N(13,0),MAJ N(10,0),PEN N(10,0),TOTOBL N(13,0),"
       "B1 C(30), F1 C(30),C1 C(30),B2 C(30),F2 C(30),C2 C(30),FUNCA C(30),NUMEA C(30),"
       "DATAD D,SUP N(1,0)",
       38, 555},
  };
  ::traveno::testing::TempFolder folder;
  for (const Case& c : kCases) {
    const DbfLayout layout = ParseDbfSpec(c.spec);
    EXPECT_EQ(layout.flags, 0) << c.name;
    EXPECT_EQ(static_cast<int>(layout.fields.size()), c.fields) << c.name;
    EXPECT_EQ(layout.record_length, c.record_length) << c.name;
    EXPECT_EQ(CreateDbfTable(folder.path() / "T.DBF", c.spec, kToday), 0) << c.name;
  }
  // The FF2 header: 32 x 48 + 33 bytes, low byte first.
  const std::string ff2 = DbfHeader(ParseDbfSpec(kFf2DbfSpec), kToday, 0);
  EXPECT_EQ(ff2.size(), 1569u);
  EXPECT_EQ(ff2.substr(8, 2), Hex("21 06"));
  // The blank before " Alte_sit" does not reach the name.
  EXPECT_EQ(ParseDbfSpec(kFf1DbfSpec).fields[19].name, "ALTE_SIT");
}

TEST(DbfTableTest, AppendsFormattedRecordsAndCountsThem) {
  ::traveno::testing::TempFolder folder;
  const fs::path path = folder.path() / "T.DBF";
  ASSERT_EQ(CreateDbfTable(path, "Nume C(5),Coef N(4,2),Data D,Suma N(12),Bifa L", kToday), 0);
  DbfTable table = DbfTable::Open(path);
  table.Append(table.NewRecord()
                   .SetText("Nume", "\xC8\x98tefan")  // Ștefan: Windows-1250, cut to 5
                   .SetNumber("COEF", 1.5)
                   .SetDate("data", Date::FromYmd(2003, 3, 15))
                   .SetNumber("Suma", -1234567)
                   .SetLogical("Bifa", true));
  table.Append(table.NewRecord()
                   .SetText("Nume", "Al")
                   .SetNumber("Coef", -0.001)
                   .SetDate("Data", EmptyDate()));
  table.Save();
  EXPECT_EQ(table.record_count(), 2u);

  const std::string bytes = ReadAll(path);
  const std::size_t header_length = 32 * 5 + 33;
  EXPECT_EQ(bytes.substr(4, 4), Hex("02 00 00 00"));
  EXPECT_EQ(bytes.substr(header_length), std::string(" \xAAtefa1.5020030315    -1234567T") +
                                             " Al   0.00" + std::string(21, ' ') + "\x1A");

  // Reopened, the table keeps its records and takes more.
  DbfTable again = DbfTable::Open(path);
  EXPECT_EQ(again.record_count(), 2u);
  again.Append(again.NewRecord().SetNumber("Suma", 5));
  again.Save();
  EXPECT_EQ(ReadAll(path).substr(4, 4), Hex("03 00 00 00"));
  EXPECT_EQ(ReadAll(path).size(), header_length + 3 * 31 + 1);
}

// Numbers are written as printf's "%.*f" writes them (without the sign of a
// negative zero), right-aligned: whole numbers, fractions, negative values,
// halves and numbers past what a double counts exactly.
TEST(DbfTableTest, NumbersAreWrittenAsPrintfWritesThem) {
  ::traveno::testing::TempFolder folder;
  int flags = 0;
  DbfTable table =
      DbfTable::Create(folder.path() / "T.DBF", "W N(30),D N(30,2),F N(30,5)", kToday, flags);
  const double values[] = {0,
                           -0.0,
                           5,
                           -5,
                           123456789012345,
                           999999999999999,
                           1e15,
                           -1e15,
                           9007199254740993.0,
                           1e20,
                           2.5,
                           3.5,
                           0.125,
                           -0.004,
                           1234.5678,
                           -1234.5678,
                           1e-300,
                           4.35};
  for (const double value : values) {
    DbfRecord record = table.NewRecord();
    record.SetNumber("W", value).SetNumber("D", value).SetNumber("F", value);
    std::string expected = " ";
    for (const int decimals : {0, 2, 5}) {
      char text[64];
      std::snprintf(text, sizeof text, "%.*f", decimals, value);
      std::string printed = text;
      if (printed.front() == '-' && printed.find_first_of("123456789") == std::string::npos) {
        printed.erase(0, 1);
      }
      expected += std::string(30 - printed.size(), ' ') + printed;
    }
    EXPECT_EQ(record.bytes(), expected) << value;
  }
}

// Fields are found by their names in any order and case; of two fields of
// one name, the first is always the one set.
TEST(DbfTableTest, FieldsAreFoundByNameInAnyOrder) {
  ::traveno::testing::TempFolder folder;
  int flags = 0;
  DbfTable table =
      DbfTable::Create(folder.path() / "T.DBF", "A N(2),B N(2),A N(2),C C(2)", kToday, flags);
  DbfRecord record = table.NewRecord();
  record.SetText("c", "x").SetNumber("b", 2).SetNumber("A", 1).SetNumber("a", 3);
  EXPECT_EQ(record.bytes(), std::string(" ") + " 3" + " 2" + "  " + "x ");
  DbfRecord in_order = table.NewRecord();
  in_order.SetNumber("A", 1).SetNumber("B", 2).SetNumber("A", 4).SetText("C", "y");
  EXPECT_EQ(in_order.bytes(), std::string(" ") + " 4" + " 2" + "  " + "y ");
}

TEST(DbfTableTest, RefusesValuesThatDoNotFitAndKeepsTheRecord) {
  ::traveno::testing::TempFolder folder;
  const fs::path path = folder.path() / "T.DBF";
  ASSERT_EQ(CreateDbfTable(path, "Nume C(5),Coef N(4,2),Data D", kToday), 0);
  DbfTable table = DbfTable::Open(path);
  DbfRecord record = table.NewRecord();
  record.SetNumber("Coef", 9.99);
  const auto fails = [&](const auto& set, const std::string& message) {
    try {
      set();
      ADD_FAILURE() << "no failure for " << message;
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()), message);
    }
  };
  fails([&] { record.SetNumber("Coef", 10); }, "Valoarea 10.00 nu incape in campul COEF N(4,2) !");
  fails([&] { record.SetNumber("Coef", std::nan("")); },
        "Campul COEF N(4,2) nu poate primi o valoare nedefinita !");
  fails([&] { record.SetText("Coef", "x"); },
        "Campul COEF N(4,2) nu poate primi aceasta valoare !");
  fails([&] { record.SetNumber("Lipsa", 1); }, "Campul Lipsa nu exista in tabela T.DBF !");
  EXPECT_EQ(record.bytes(), std::string(" ") + "     " + "9.99" + "        ");
}

TEST(DbfTableTest, OpeningSomethingElseIsAClearFailure) {
  ::traveno::testing::TempFolder folder;
  const fs::path text = folder.path() / "A.txt";
  std::ofstream(text) << "not a table at all, but long enough to hold a header";
  EXPECT_THROW(DbfTable::Open(text), Error);
  EXPECT_THROW(DbfTable::Open(folder.path() / "missing.dbf"), Error);
  // A header that promises more records than the file holds.
  const fs::path cut = folder.path() / "C.DBF";
  ASSERT_EQ(CreateDbfTable(cut, "A C(5)", kToday), 0);
  std::string bytes = ReadAll(cut);
  bytes[4] = 9;
  std::ofstream(cut, std::ios::binary) << bytes;
  EXPECT_THROW(DbfTable::Open(cut), Error);
}

// Another program's dBASE reader opens the table with its names, types,
// widths and records.
TEST(DbfTableTest, AnIndependentReaderOpensTheTable) {
  if (!testing::HaveIndependentReader()) GTEST_SKIP() << "python3-dbfread is not installed";
  ::traveno::testing::TempFolder folder;
  const fs::path path = folder.path() / "DED_2003.DBF";
  ASSERT_EQ(CreateDbfTable(path, kDedDbfSpec, kToday), 0);
  DbfTable table = DbfTable::Open(path);
  table.Append(table.NewRecord()
                   .SetNumber("Cnp_ang", 1750101123456)
                   .SetNumber("Cnp_pers", 2980202123457)
                   .SetText("Nume", "\xC8\x9A\xC4\x82RANU")  // ȚĂRANU
                   .SetText("Prenume", "Ana")
                   .SetText("Copil", "X")
                   .SetNumber("Coef_01", 0.5)
                   .SetNumber("Coef_12", 1));
  table.Save();

  const auto json = testing::ReadWithIndependentReader(path);
  ASSERT_FALSE(json.is_null());
  ASSERT_EQ(json["fields"].size(), 22u);
  EXPECT_EQ(json["fields"][0], nlohmann::json::parse(R"(["CNP_ANG", "N", 13, 0])"));
  EXPECT_EQ(json["fields"][2], nlohmann::json::parse(R"(["NUME", "C", 40, 0])"));
  EXPECT_EQ(json["fields"][21], nlohmann::json::parse(R"(["COEF_12", "N", 4, 2])"));
  ASSERT_EQ(json["records"].size(), 1u);
  const auto& record = json["records"][0];
  EXPECT_EQ(record["CNP_ANG"], 1750101123456);
  EXPECT_EQ(record["NUME"], "\xC5\xA2\xC4\x82RANU");  // ŢĂRANU, the code page's letter
  EXPECT_EQ(record["COPIL"], "X");
  EXPECT_EQ(record["SOT"], "");
  EXPECT_EQ(record["COEF_01"], 0.5);
  EXPECT_EQ(record["COEF_02"], nullptr);  // left blank
  EXPECT_EQ(record["COEF_12"], 1.0);
}

}  // namespace
}  // namespace traveno::declarations
