// SAVE, LOAD, MERGE and RUN "file" over an in-memory file system, the
// platform's real one, and a round trip of every golden program.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>
#endif

#include "errors.h"
#include "image_builders.h"
#include "numeric.h"
#include "platform.h"
#include "test_support.h"

namespace basic {
namespace {

using test::MemoryFiles;

class ProgramFilesTest : public ::testing::Test {
 protected:
  ProgramFilesTest() { m.basic.SetFileSystem(fs); }
  MemoryFiles fs;
  test::Machine m;
};

TEST_F(ProgramFilesTest, LoadSplitsLinesAtCarriageReturnsAndStopsAtByte26) {
  const std::string bad = "Bad line in file\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {"10 A\r\n20 B\r\n", "10 A\r\n20 B\r\n"},
      {"10 A\r20 B", "10 A\r\n20 B\r\n"},      // lone CR, no final break
      {"10 A\n20 B\r\n", "10 A{\n}20 B\r\n"},  // a lone LF is a character
      {"10 A\r\n\n20 B", bad + "10 A\r\n"},    // LF after a whole break
      {"10 A\r\r\n", bad + "10 A\r\n"},        // an empty line between CRs
      {"10 A\x1a"
       "20 B\r\n",
       "10 A\r\n"},
      {"10 A\r\n\x1a\r\n", "10 A\r\n"},
      {"\x1a"
       "10 A",
       ""},
      {"", ""},
      {"PRINT 1\r\n0 PRINT 2\r\n  \r\n\r\n10 A", bad + bad + bad + bad + "10 A\r\n"},
      {"20 B\r\n10 A\r\n20\r\n", "10 A\r\n"},                      // later lines edit earlier ones
      {"10 ?#\r\n20 PRINT{#}", "10 PRINT{#}\r\n20 PRINT{#}\r\n"},  // "{#}" is how # lists
  };
  for (const auto& [bytes, output] : cases) {
    fs.files["f"] = bytes;
    EXPECT_EQ(m.Run("LOAD \"f\"\r\nLIST"), output) << testing::PrintToString(bytes);
  }
}

TEST_F(ProgramFilesTest, LoadReplacesTheProgramMergeEditsIt) {
  fs.files["f"] = "10 X$=\"new\"\r\n20\r\n25 Y=2\r\n";
  const std::string original = "10 A = 1\r\n20 B = 2\r\n30 C = 3\r\n";
  m.Run(original);
  EXPECT_EQ(m.Run("MERGE \"f\"\r\nLIST"), "10 X$ = \"new\"\r\n25 Y = 2\r\n30 C = 3\r\n");
  EXPECT_EQ(m.inside.variables.size(), 5u);  // A, B, C, X$, Y
  m.Run(original);
  EXPECT_EQ(m.Run("LOAD \"f\"\r\nLIST"), "10 X$ = \"new\"\r\n25 Y = 2\r\n");
  EXPECT_EQ(m.inside.variables.size(), 2u);  // only the file's names

  fs.files["empty"] = "";
  EXPECT_EQ(m.Run("MERGE \"empty\"\r\nLIST"), "10 X$ = \"new\"\r\n25 Y = 2\r\n");
  EXPECT_EQ(m.Run("LOAD \"empty\"\r\nLIST"), "");
  EXPECT_EQ(m.Run("LOAD 1\r\nMERGE 1"),
            "\a(42) Type mismatch error\r\n\a(42) Type mismatch error\r\n");
}

// A file is read and tokenized whole before anything changes: a line that
// cannot be entered part way leaves the program and the variables as they
// were, for LOAD, MERGE and RUN alike.
TEST_F(ProgramFilesTest, FailurePartWayChangesNothing) {
  const std::pair<std::string, std::string> files[] = {
      {"10 PRINT \"new\" : N = 1\r\n20 X = 1E400\r\n30 PRINT 3", "\aFloating point overflow\r\n"},
      {"10 PRINT \"new\"\r\n20\r\n99999999999 PRINT\r\n30 Y = 2", "\a(42) Syntax error\r\n"},
      {"PRINT 1\r\n20\r\n10 Z = 1\r\n30 Y = 1E999",
       "Bad line in file\r\n\aFloating point overflow\r\n"},
  };
  const std::string original = "10 PRINT A;B$\r\n20 PRINT \"old\"\r\n";
  for (const auto& [file, report] : files) {
    fs.files["f"] = file;
    for (const char* statement : {"LOAD", "MERGE", "RUN"}) {
      m.Run("NEW\r\n" + original);
      EXPECT_EQ(m.Run("A = 5 : B$ = \"b\"\r\n" + std::string(statement) +
                      " \"f\"\r\nLIST\r\nPRINT A; B$"),
                report + "10 PRINT A;B$\r\n20 PRINT\"old\"\r\n5 b\r\n")
          << statement << " " << testing::PrintToString(file);
      EXPECT_EQ(m.inside.variables.size(), 2u) << statement;  // no name of the file stays behind
    }
  }
  // From a running program: the run stops at the failing statement, in its line.
  fs.files["f"] = files[0].first;
  EXPECT_EQ(
      m.Run("NEW\r\n10 PRINT \"ten\"\r\n20 MERGE \"f\"\r\n30 PRINT \"thirty\"\r\nRUN\r\nLIST"),
      "ten\r\n\aFloating point overflow in 20\r\n"
      "10 PRINT\"ten\"\r\n20 MERGE\"f\"\r\n30 PRINT\"thirty\"\r\n");
}

TEST_F(ProgramFilesTest, FileNameHookMapsEveryNameWithItsMode) {
  std::string modes;
  m.basic.onFileName = [&](TBasic&, const std::string& name, uint8_t mode, std::string& out) {
    modes += static_cast<char>('0' + mode);
    out = "dir/" + name;
  };
  fs.files["dir/in"] = "10 PRINT 1\r\n";
  EXPECT_EQ(m.Run("LOAD \"in\"\r\nMERGE \"in\"\r\nSAVE \"out\"\r\nRUN \"in\""), "1 \r\n");
  EXPECT_EQ(modes, "0010");
  EXPECT_EQ(fs.files.count("dir/out"), 1u);
}

// Under the sanitizer build these also show that no token of a freed line
// is read after the MERGE.
TEST_F(ProgramFilesTest, MergeInARunningProgram) {
  const std::string program =
      "NEW\r\n10 DATA 1, 2\r\n20 READ A : MERGE \"m\" : PRINT \"after\"; A\r\n"
      "30 READ B : PRINT B\r\n";
  const std::pair<std::string, std::string> cases[] = {
      // other lines: the run goes on, the DATA pointer starts again
      {"10 DATA 5\r\n40 PRINT \"merged\"", "after1 \r\n5 \r\nmerged\r\n"},
      // the running line replaced or deleted: the run ends after the MERGE
      {"20 PRINT \"new\"\r\n30 STOP", ""},
      {"20\r\n", ""},
      // a file that fails part way merges nothing: the running line stays
      {"20 PRINT 1\r\n25 PRINT 1E999", "\aFloating point overflow in 20\r\n"},
      {"20\r\n25 PRINT 1E999", "\aFloating point overflow in 20\r\n"},
  };
  for (const auto& [file, output] : cases) {
    fs.files["m"] = file;
    m.Run(program);
    EXPECT_EQ(m.Run("RUN"), output) << file;
  }
  fs.files["m"] = "20 PRINT \"new\"";
  m.Run(program);
  EXPECT_EQ(m.Run("RUN\r\nRUN"), "new\r\n1 \r\n");

  // A merged line under an open GOSUB takes its frame with it.
  fs.files["m"] = "10 PRINT \"replaced\"";
  EXPECT_EQ(m.Run("NEW\r\n10 GOSUB 100 : PRINT \"back\"\r\n100 MERGE \"m\"\r\n110 RETURN\r\nRUN"),
            "\a(42) RETURN without GOSUB in 110\r\n");
}

TEST(PlatformProgramFiles, ReadWriteAndMappedErrors) {
  test::TempDir dir;
  FileSystem& files = platform::ProgramFiles();
  const std::string file = dir.File("p.bas");
  const char raw[] = "10 A\r\n\x1a\n\0end";
  const std::string bytes(raw, sizeof raw - 1);
  files.WriteFile(file, bytes);
  EXPECT_EQ(files.ReadFile(file), bytes);
  files.WriteFile(file, "");
  EXPECT_EQ(files.ReadFile(file), "");

  std::filesystem::create_directory(dir.File("sub"));
#ifdef _WIN32
  const char* missingFolder = "Invalid filename";
#else
  const char* missingFolder = "File not found";
#endif
  struct Case {
    std::string name;
    bool write;
    std::string message;
  };
  const Case cases[] = {
      {dir.File("missing"), false, "File not found"},
      {dir.File("sub"), false, "File access denied"},
      {dir.File("sub"), true, "File access denied"},
      {dir.File("p.bas/x"), false, "Invalid filename"},
      {dir.File("p.bas/x"), true, "Invalid filename"},
      {dir.File("none/x"), true, missingFolder},
  };
  for (const Case& c : cases) {
    try {
      if (c.write) {
        files.WriteFile(c.name, "10 A\r\n");
      } else {
        files.ReadFile(c.name);
      }
      ADD_FAILURE() << c.name << " did not fail";
    } catch (const RuntimeFault& e) {
      EXPECT_EQ(e.what(), c.message) << c.name << (c.write ? " (write)" : " (read)");
    }
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("sub")));
  // Nothing but the two entries made above: no temporary file left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("")),
                          std::filesystem::directory_iterator()),
            2);
}

// Writes of SAVE (and of --bind, which shares them) onto what is not a plain
// single-named file: links, devices, FIFOs, names planted beside the target.
class PlatformSafeWrite : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir.File(name); }
  void Put(const std::string& name, const std::string& text) {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
  std::string Get(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Save(const std::string& path, std::string_view bytes) {
    platform::ProgramFiles().WriteFile(path, bytes);
  }
  std::string SaveError(const std::string& path, std::string_view bytes) {
    try {
      Save(path, bytes);
    } catch (const RuntimeFault& e) { return e.what(); }
    return "no error";
  }
  std::set<std::string> Entries() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Path("")))
      names.insert(entry.path().filename().string());
    return names;
  }
  // Wine makes none, and says so here.
  bool Symlink(const std::string& target, const std::string& name) {
    std::filesystem::create_symlink(target, Path(name), symlinkError);
    return !symlinkError;
  }
  std::error_code symlinkError;
  test::TempDir dir;
};

TEST_F(PlatformSafeWrite, SymbolicLinksStayLinksAndTheFileTheyNameIsWritten) {
  Put("real.bas", "old");
  if (!Symlink("real.bas", "link.bas"))
    GTEST_SKIP() << "no symbolic links here: " << symlinkError.message();
  ASSERT_TRUE(Symlink("link.bas", "chain.bas"));
  Save(Path("chain.bas"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.bas")));
  EXPECT_TRUE(std::filesystem::is_symlink(Path("chain.bas")));
  EXPECT_EQ(Get("real.bas"), "new");

  // A relative link is read from its own folder, not the working one.
  std::filesystem::create_directory(Path("sub"));
  ASSERT_TRUE(Symlink("../real.bas", "sub/up.bas"));
  Save(Path("sub/up.bas"), "up");
  EXPECT_EQ(Get("real.bas"), "up");

  // A link to nothing yet: the file it names is made.
  ASSERT_TRUE(Symlink("made.bas", "dangling.bas"));
  Save(Path("dangling.bas"), "made");
  EXPECT_TRUE(std::filesystem::is_symlink(Path("dangling.bas")));
  EXPECT_EQ(Get("made.bas"), "made");

  ASSERT_TRUE(Symlink("loop2.bas", "loop1.bas"));
  ASSERT_TRUE(Symlink("loop1.bas", "loop2.bas"));
  EXPECT_EQ(SaveError(Path("loop1.bas"), "x"), "Invalid filename");

  const std::set<std::string> expected{"real.bas",     "link.bas", "chain.bas", "sub",
                                       "dangling.bas", "made.bas", "loop1.bas", "loop2.bas"};
  EXPECT_EQ(Entries(), expected);
}

TEST_F(PlatformSafeWrite, EveryNameOfAHardLinkedFileSeesTheNewContent) {
  Put("a.bas", "old");
  std::error_code error;
  std::filesystem::create_hard_link(Path("a.bas"), Path("b.bas"), error);
  if (error) GTEST_SKIP() << "hard links cannot be made here: " << error.message();
  Save(Path("b.bas"), "new and longer");
  EXPECT_EQ(Get("a.bas"), "new and longer");
  Save(Path("a.bas"), "short");
  EXPECT_EQ(Get("b.bas"), "short");
#ifndef _WIN32  // the C library's stat counts one name on Windows
  EXPECT_EQ(std::filesystem::hard_link_count(Path("a.bas")), 2u);
#endif
  EXPECT_EQ(Entries(), (std::set<std::string>{"a.bas", "b.bas"}));
}

TEST_F(PlatformSafeWrite, LinkPlantedAtAGuessableTemporaryNameIsNotFollowed) {
  Put("victim", "victim");
  Put("p.bas", "old");
  const std::string planted = "p.bas.tmp" + std::to_string(getpid());
  if (!Symlink(Path("victim"), planted))
    GTEST_SKIP() << "no symbolic links here: " << symlinkError.message();
  Save(Path("p.bas"), "new");
  EXPECT_EQ(Get("victim"), "victim");
  EXPECT_EQ(Get("p.bas"), "new");
  EXPECT_EQ(Entries(), (std::set<std::string>{"victim", "p.bas", planted}));
}

#ifdef _WIN32
TEST_F(PlatformSafeWrite, TheNullDeviceIsWrittenNotReplaced) {
  Save("NUL", "10 A\r\n");
  Save("nul", "");
}
#else
// A node of our own comes first in each: if it were replaced, the check stops
// the test before the system's own device is touched.
TEST_F(PlatformSafeWrite, DevicesAndFifosAreWrittenNotReplaced) {
  struct stat st;
  if (::mknod(Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    Save(Path("null"), "10 A\r\n");
    ASSERT_EQ(::lstat(Path("null").c_str(), &st), 0);
    ASSERT_TRUE(S_ISCHR(st.st_mode));
  }
  Save("/dev/null", "10 A\r\n");
  ASSERT_EQ(::lstat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));

  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  const int reader = ::open(Path("fifo").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  Save(Path("fifo"), "10 A\r\n");
  char got[64];
  const ssize_t n = ::read(reader, got, sizeof got);
  ::close(reader);
  EXPECT_EQ(std::string(got, n > 0 ? static_cast<size_t>(n) : 0), "10 A\r\n");
  // Nobody reading: refused at once (ENXIO) rather than waiting for ever.
  EXPECT_EQ(SaveError(Path("fifo"), "10 A\r\n"), "I/O error 6");
  ASSERT_EQ(::lstat(Path("fifo").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(PlatformSafeWrite, FailedWriteReportsAndLeavesNothingBehind) {
  struct stat st;
  if (::mknod(Path("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
    EXPECT_EQ(SaveError(Path("full"), "10 A\r\n"), "Disk full");
    ASSERT_EQ(::lstat(Path("full").c_str(), &st), 0);
    ASSERT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(Entries(), std::set<std::string>{"full"});
    std::filesystem::remove(Path("full"));
  }
  EXPECT_EQ(SaveError("/dev/full", "10 A\r\n"), "Disk full");
  ASSERT_EQ(::lstat("/dev/full", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));

  // A file size limit stops the write part-way through the new copy.
  Put("p.bas", "old");
  struct rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 1024;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string error = SaveError(Path("p.bas"), std::string(4096, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_NE(error, "no error");
  EXPECT_EQ(Get("p.bas"), "old");
  EXPECT_EQ(Entries(), std::set<std::string>{"p.bas"});
}

TEST_F(PlatformSafeWrite, ReplacedFilesKeepTheirPermissions) {
  using std::filesystem::perms;
  Put("p.bas", "old");
  std::filesystem::permissions(Path("p.bas"), static_cast<perms>(0640));
  Save(Path("p.bas"), "new");
  EXPECT_EQ(std::filesystem::status(Path("p.bas")).permissions(), static_cast<perms>(0640));

  Put("private.bas", "old");
  std::filesystem::permissions(Path("private.bas"), static_cast<perms>(0604));
  ASSERT_TRUE(Symlink("private.bas", "link.bas"));
  Save(Path("link.bas"), "new");
  EXPECT_EQ(std::filesystem::status(Path("private.bas")).permissions(), static_cast<perms>(0604));
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.bas")));
  EXPECT_EQ(Get("private.bas"), "new");
}
#endif

// Every golden program's numbered lines, listed, saved, loaded and listed
// again: the listings agree line for line.
TEST(ProgramFilesRoundTrip, EveryGoldenProgramListsAlikeAfterSaveAndLoad) {
  size_t programs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(BASIC_GOLDEN_PROGRAMS_DIR)) {
    if (entry.path().extension() != ".bas") continue;
    ++programs;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();

    MemoryFiles fs;
    test::Machine m;
    m.basic.SetFileSystem(fs);
    std::string line;
    while (std::getline(text, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const size_t first = line.find_first_not_of(' ');
      if (first == std::string::npos || line[first] < '0' || line[first] > '9') continue;
      m.inside.inputLine = line;
      TokenList head;  // keeps an immediate line, unrun
      try {
        m.inside.EnterLine(head);
      } catch (const std::exception&) {  // refused on entry: one line fewer
      }
    }
    const std::string before = m.Run("LIST");
    m.Run("SAVE \"p\"\r\nNEW");
    ASSERT_TRUE(m.inside.program.empty());
    EXPECT_EQ(m.Run("LOAD \"p\"\r\nLIST"), before) << entry.path();
  }
  EXPECT_GE(programs, 30u);
}

// Literals of random doubles, of every magnitude: after LIST, SAVE and LOAD
// each is the same double, and the listing is the same text.
TEST(ProgramFilesRoundTrip, EveryDoubleSurvivesSaveAndLoad) {
  std::mt19937_64 random(1209);
  std::vector<double> values;
  while (values.size() < 2000) {
    uint64_t bits = random() >> 1;  // no sign: a literal has none
    double x;
    std::memcpy(&x, &bits, sizeof x);
    if (std::isfinite(x)) values.push_back(x);
  }
  // And those whose 15-digit text is near but not the same double.
  for (double x : {3.14159265358979, 1.0 / 3, 0.1 + 0.2, 123456789012345678.0, 1e-300, 5e-324,
                   1.7976931348623157e308, 0.015625000000000003, 999999999999.99987})
    values.push_back(x);

  MemoryFiles fs;
  test::Machine m;
  m.basic.SetFileSystem(fs);
  for (size_t i = 0; i < values.size(); ++i) {
    char text[40];
    *std::to_chars(text, text + sizeof text, values[i]).ptr = '\0';
    m.inside.inputLine = std::to_string(i + 1) + " X = " + text;
    TokenList head;
    m.inside.EnterLine(head);
  }
  const std::string before = m.Run("LIST");
  m.Run("SAVE \"p\"\r\nNEW\r\nLOAD \"p\"");
  EXPECT_EQ(m.Run("LIST"), before);
  size_t i = 0;
  for (const ProgramLine* l = m.inside.program.First(); l != nullptr; l = l->Next, ++i) {
    ASSERT_LT(i, values.size());
    const Token* literal = l->Tokens.begin() + 2;
    ASSERT_EQ(literal->code, tcNumber) << i;
    EXPECT_EQ(literal->number, values[i]) << FormatExactNumber(values[i]);
  }
  EXPECT_EQ(i, values.size());
}

}  // namespace
}  // namespace basic
