#include "program_generator.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace basic::differential {
namespace {

// splitmix64: the same numbers on every compiler, unlike the standard
// distributions.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<int>(N))];
  }

 private:
  uint64_t state_;
};

// The parts of a braced list are made left to right, unlike the operands
// of +: so a seed gives the same program whatever the compiler.
std::string Cat(std::initializer_list<std::string_view> parts) {
  std::string s;
  for (std::string_view part : parts) s += part;
  return s;
}

struct ArrayName {
  std::string name;
  int dims;
  int bound;  // the highest subscript: the DIM bound, or 10 for an array never DIM'd
};

// Scalars that assignments, READ and INPUT may change; only FOR sets the
// loop variables, so that loops keep their bounds.
constexpr const char* kNumbers[] = {"A", "B", "C", "X", "Y", "Z", "Q", "n1"};
constexpr const char* kLoopVariables[] = {"I", "J", "K"};
constexpr const char* kStrings[] = {"A$", "B$", "S$", "q$"};
constexpr const char* kLiteralTexts[] = {"\"\"",    "\"A\"",  "\"hello\"", "\"x,y\"", "\"Z9\"",
                                         "\"a b\"", "\"12\"", "\"-3.5\"",  "\"B\""};

// Line references are written as @INDEX into the list of lines and become
// line numbers once every line is there: forward jumps may point past the
// last line, which then means the last line.
class Generator {
 public:
  explicit Generator(uint64_t seed) : rnd_(seed) {}
  GeneratedProgram Make();

 private:
  using StatementMaker = std::string (Generator::*)(int depth);
  using BlockMaker = void (Generator::*)(int loopDepth);

  // --- expressions ---
  std::string Literal();
  std::string NumberLeaf(int depth);
  std::string Number(int depth);
  std::string Text(int depth);
  std::string Condition(int depth);
  std::string Element(const ArrayName& array, int depth);
  std::string NumericTarget();
  std::string TextTarget();
  const ArrayName& SomeArray(bool text);

  // --- statements: each keeps to its line or jumps forward ---
  std::string AssignNumber(int depth) {
    return Cat({rnd_.Chance(10) ? "LET " : "", NumericTarget(), " = ", Number(depth + 1)});
  }
  std::string AssignText(int depth) { return Cat({TextTarget(), " = ", Text(depth)}); }
  std::string Print(int depth);
  std::string If(int depth);
  std::string Gosub(int depth);
  std::string On(int depth);
  std::string Read(int depth);
  std::string Restore(int depth);
  std::string InlineFor(int depth);
  std::string InlineWhile(int depth);
  std::string Dim(int depth);
  std::string Input(int depth);
  std::string Mistake(int depth);
  std::string SelfEdit(int depth);
  std::string Statement(int depth);

  // --- blocks: one or more whole lines ---
  void SimpleLine(int loopDepth);
  void ForBlock(int loopDepth);
  void WhileBlock(int loopDepth);
  void BackwardLoop(int loopDepth);
  void DataLine(int loopDepth);
  void DeepExpression(int loopDepth);
  void GotoLine(int loopDepth);
  void Block(int loopDepth);

  std::string Ref(size_t index) { return "@" + std::to_string(index); }
  std::string Forward() { return Ref(lines_.size() + 1 + rnd_.Below(4)); }
  std::string Counter() { return "W" + std::to_string(++sites_); }
  std::string Resolve(const std::string& line) const;

  Random rnd_;
  std::vector<std::string> lines_;
  std::vector<size_t> subroutines_, dataLines_;
  std::vector<ArrayName> arrays_;
  std::string input_;
  int sites_ = 0;
};

std::string Generator::Literal() {
  static constexpr const char* kOdd[] = {"0.5",    ".25", "2.5", "1E3", "1E-3", "3.14159", "1E300",
                                         "1E-300", "0.1", "7.5", "-0",  "1E15", "0.001"};
  switch (rnd_.Below(8)) {
    case 0:
    case 1:
    case 2: return std::to_string(rnd_.Below(10));
    case 3: return std::to_string(rnd_.Below(1000));
    case 4: return std::to_string(rnd_.Below(20)) + "." + std::to_string(rnd_.Below(100));
    case 5: return std::to_string(rnd_.Below(3) + 1);
    default: return rnd_.Pick(kOdd);
  }
}

const ArrayName& Generator::SomeArray(bool text) {
  for (;;) {
    const ArrayName& a = arrays_[rnd_.Below(static_cast<int>(arrays_.size()))];
    if ((a.name.back() == '$') == text) return a;
  }
}

std::string Generator::Element(const ArrayName& array, int depth) {
  int count = array.dims;
  if (rnd_.Chance(2)) count = count % 4 + 1;  // the wrong number of subscripts
  std::string s = array.name + "(";
  for (int i = 0; i < count; ++i) {
    if (i > 0) s += ", ";
    const int kind = rnd_.Below(100);
    if (kind < 1)
      s += rnd_.Chance(50) ? std::to_string(array.bound + 1) : "-1";
    else if (kind < 12)
      s += rnd_.Pick(kLoopVariables);
    else if (kind < 17 && depth > 0)
      s += "ABS(" + Number(depth - 1) + ") MOD " + std::to_string(array.bound + 1);
    else
      s += std::to_string(rnd_.Below(array.bound + 1));
  }
  return s + ")";
}

std::string Generator::NumberLeaf(int depth) {
  const int kind = rnd_.Below(100);
  if (kind < 40) return Literal();
  if (kind < 72) return rnd_.Pick(kNumbers);
  if (kind < 82) return rnd_.Pick(kLoopVariables);
  return Element(SomeArray(false), depth);
}

std::string Generator::Number(int depth) {
  static constexpr const char* kOperators[] = {"+", "-",   "*",  "/",   "+",  "-",
                                               "*", "MOD", "^",  "=",   "<>", "<",
                                               ">", "<=",  ">=", "AND", "OR", "XOR"};
  static constexpr const char* kComparisons[] = {"=", "<>", "<", ">", "<=", ">="};
  static constexpr const char* kFunctions[] = {"SQR", "SQRT", "SIN", "COS", "TAN", "ARCTAN",
                                               "LOG", "EXP",  "ABS", "SGN", "INT"};
  if (depth <= 0 || rnd_.Chance(30)) return NumberLeaf(depth);
  switch (rnd_.Below(13)) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4: return Cat({Number(depth - 1), " ", rnd_.Pick(kOperators), " ", Number(depth - 1)});
    case 5: return "(" + Number(depth - 1) + ")";
    case 6: return "-" + (rnd_.Chance(50) ? NumberLeaf(depth) : "(" + Number(depth - 1) + ")");
    case 7: return Cat({rnd_.Chance(50) ? "NOT " : "+", NumberLeaf(depth)});
    case 8:
    case 9: {
      const std::string f = rnd_.Pick(kFunctions);
      return rnd_.Chance(70) ? f + "(" + Number(depth - 1) + ")" : f + " " + NumberLeaf(depth);
    }
    case 10: {
      static constexpr const char* kOfText[] = {"LEN", "ASC", "VAL"};
      return Cat({rnd_.Pick(kOfText), "(", Text(depth - 1), ")"});
    }
    case 11:
      return Cat({"(", Text(depth - 1), " ", rnd_.Pick(kComparisons), " ", Text(depth - 1), ")"});
    default: return rnd_.Chance(50) ? "RND" : "RND(" + Number(depth - 1) + ")";
  }
}

std::string Generator::Text(int depth) {
  const int kind = rnd_.Below(depth <= 0 ? 3 : 8);
  switch (kind) {
    case 0: return rnd_.Pick(kLiteralTexts);
    case 1: return rnd_.Pick(kStrings);
    case 2: return Element(SomeArray(true), 0);
    case 3: return "CHR$(" + std::to_string(32 + rnd_.Below(95)) + ")";
    case 4: return "STR$(" + Number(depth - 1) + ")";
    case 5:
      return Cat({"MID$(", Text(depth - 1), ", ", Number(depth - 1),
                  rnd_.Chance(60) ? ", " + Number(depth - 1) : "", ")"});
    default: return Cat({Text(depth - 1), " + ", Text(depth - 1)});
  }
}

std::string Generator::Condition(int depth) {
  static constexpr const char* kComparisons[] = {"=", "<>", "<", ">", "<=", ">="};
  static constexpr const char* kJoins[] = {" AND ", " OR ", " XOR "};
  std::string c = rnd_.Chance(20)
                      ? Cat({Text(1), " ", rnd_.Pick(kComparisons), " ", Text(1)})
                      : Cat({Number(depth), " ", rnd_.Pick(kComparisons), " ", Number(depth)});
  if (rnd_.Chance(25)) c = Cat({"(", c, ")", rnd_.Pick(kJoins), "(", Condition(0), ")"});
  return c;
}

std::string Generator::NumericTarget() {
  return rnd_.Chance(30) ? Element(SomeArray(false), 1) : rnd_.Pick(kNumbers);
}

std::string Generator::TextTarget() {
  return rnd_.Chance(30) ? Element(SomeArray(true), 1) : rnd_.Pick(kStrings);
}

std::string Generator::Print(int depth) {
  static constexpr const char* kSeparators[] = {"; ", ", ", ";", ","};
  std::string s = rnd_.Chance(15) ? "?" : "PRINT";
  const int items = rnd_.Below(4);
  for (int i = 0; i < items; ++i) {
    s += i > 0 ? rnd_.Pick(kSeparators) : " ";
    s += rnd_.Chance(60) ? Number(depth + 1) : Text(depth + 1);
  }
  if (items > 0 && rnd_.Chance(20)) s += rnd_.Chance(50) ? ";" : ",";
  return s;
}

std::string Generator::If(int depth) {
  std::string s = "IF " + Condition(2) + " THEN ";
  const bool jumps = rnd_.Chance(30);
  s += jumps ? Forward() : Statement(depth + 1);
  if (rnd_.Chance(40))
    s += " ELSE " + (jumps && rnd_.Chance(50) ? Forward() : Statement(depth + 1));
  return s;
}

std::string Generator::Gosub(int depth) {
  if (subroutines_.empty()) return Print(depth);
  return "GOSUB " + Ref(subroutines_[rnd_.Below(static_cast<int>(subroutines_.size()))]);
}

std::string Generator::On(int depth) {
  const bool calls = !subroutines_.empty() && rnd_.Chance(60);
  std::string s = "ON " + Number(1) + (calls ? " GOSUB " : " GOTO ");
  const int targets = 1 + rnd_.Below(3);
  for (int i = 0; i < targets; ++i) {
    if (i > 0) s += ", ";
    s += calls ? Ref(subroutines_[rnd_.Below(static_cast<int>(subroutines_.size()))]) : Forward();
  }
  (void)depth;
  return s;
}

std::string Generator::Read(int) {
  std::string s = "READ ";
  const int count = 1 + rnd_.Below(3);
  for (int i = 0; i < count; ++i) {
    if (i > 0) s += ", ";
    s += rnd_.Chance(10) ? TextTarget() : NumericTarget();
  }
  return s;
}

std::string Generator::Restore(int) {
  if (dataLines_.empty() || rnd_.Chance(40)) return "RESTORE";
  return "RESTORE " + Ref(dataLines_[rnd_.Below(static_cast<int>(dataLines_.size()))]);
}

std::string Generator::InlineFor(int depth) {
  const std::string v = kLoopVariables[depth % 3];
  std::string s = Cat({"FOR ", v, " = ", std::to_string(rnd_.Below(4)), " TO ", Number(1)});
  if (rnd_.Chance(40)) s += std::string(" STEP ") + rnd_.Pick({"2", "-1", "0.5", "-0.5", "3"});
  return Cat({s, ": ", Statement(depth + 1), ": NEXT", rnd_.Chance(50) ? " " + v : ""});
}

std::string Generator::InlineWhile(int depth) {
  const std::string w = Counter();
  const std::string limit = std::to_string(1 + rnd_.Below(4));
  if (rnd_.Chance(50))
    return w + " = 0: WHILE " + w + " < " + limit + ": " + w + " = " + w +
           " + 1: " + Statement(depth + 1) + ": WEND";
  return w + " = 0: WHILE: " + w + " = " + w + " + 1: " + Statement(depth + 1) + ": WEND " + w +
         " >= " + limit;
}

std::string Generator::Dim(int) {
  if (rnd_.Chance(40)) return "DIM " + SomeArray(rnd_.Chance(30)).name + "(3)";  // again: refused
  if (rnd_.Chance(50)) return "DIM Q(" + std::to_string(rnd_.Below(5)) + ")";    // a scalar no more
  const std::string name = "P" + std::to_string(++sites_);
  return "DIM " + name + "(2): " + name + "(1) = " + Number(1) + ": PRINT " + name + "(1)";
}

std::string Generator::Input(int) {
  static constexpr const char* kTyped[] = {"3", "2, 5", "1+1", "-4.5", "A", "7,", "\"x\""};
  if (rnd_.Chance(40)) {
    input_ += "typed words, kept\r\n";
    return "INPUT \"say: \"; " + TextTarget();
  }
  input_ += std::string(rnd_.Pick(kTyped)) + "\r\n";
  return Cat({"INPUT ", NumericTarget(), rnd_.Chance(30) ? ", " + NumericTarget() : ""});
}

std::string Generator::Mistake(int) {
  static constexpr const char* kMistakes[] = {"RETURN",         "NEXT",
                                              "WEND",           "STOP",
                                              "X = \"a\" + 1",  "A$ = 5",
                                              "X = A$",         "PRINT 1E300 * 1E300",
                                              "GOSUB 99999",    "A(1, 2, 3, 4, 5) = 1",
                                              "X = (1 + 2",     "PRINT -LOG(0)",
                                              "X = 5 MOD 0.4",  "PRINT 2 ^ 0.5 ^ -1",
                                              "PRINT SQRT(-1)", "PRINT (-8) ^ (1/3)",
                                              "PRINT 0 / 0",    "X = 1 2"};
  if (rnd_.Chance(15)) return "GOTO " + std::to_string(lines_.size() * 10 + 15);  // no such line
  return rnd_.Pick(kMistakes);
}

std::string Generator::SelfEdit(int) {
  switch (rnd_.Below(7)) {
    case 0: return "DEL " + Forward();
    case 1:
      return rnd_.Chance(50) ? "RENUM"
                             : "RENUM " + std::to_string(100 + rnd_.Below(5) * 100) + ", 5";
    case 2: return "LIST " + Ref(lines_.size()) + "-" + Forward();
    case 3: return "SAVE \"copy\"";
    case 4: return "MERGE \"saved\"";
    case 5: return rnd_.Chance(20) ? "LOAD \"saved\"" : "MERGE \"tail\"";
    default: return "RUN " + Forward();
  }
}

std::string Generator::Statement(int depth) {
  static constexpr struct {
    int weight;
    StatementMaker make;
  } kStatements[] = {{14, &Generator::AssignNumber}, {6, &Generator::AssignText},
                     {12, &Generator::Print},        {8, &Generator::If},
                     {4, &Generator::Gosub},         {3, &Generator::On},
                     {2, &Generator::Read},          {1, &Generator::Restore},
                     {2, &Generator::InlineFor},     {1, &Generator::InlineWhile},
                     {1, &Generator::Dim},           {1, &Generator::Input},
                     {1, &Generator::Mistake},       {1, &Generator::SelfEdit}};
  // Nested statements (THEN, loop bodies) keep to the plain ones.
  int total = 0;
  for (const auto& s : kStatements) total += s.weight;
  int pick = rnd_.Below(depth > 1 ? 20 : total);
  for (const auto& s : kStatements) {
    if (pick < s.weight) return (this->*s.make)(depth);
    pick -= s.weight;
  }
  return Print(depth);
}

void Generator::SimpleLine(int) {
  std::string line = Statement(0);
  for (int more = rnd_.Below(3); more > 0; --more) line += ": " + Statement(0);
  lines_.push_back(line);
}

void Generator::ForBlock(int loopDepth) {
  const std::string v = kLoopVariables[loopDepth % 3];
  const int from = rnd_.Below(3);
  const int kind = rnd_.Below(10);
  std::string line =
      "FOR " + v + " = " + std::to_string(kind >= 5 && kind < 7 ? from + 2 : from) + " TO ";
  if (kind < 5)
    line += std::to_string(from + rnd_.Below(3));
  else if (kind < 7)
    line += std::to_string(from) + " STEP -" + rnd_.Pick({"1", "2", "0.5"});
  else if (kind < 9)
    line += Cat({Number(1), " STEP ", rnd_.Pick({"0.5", "1.5", "-1", "2"})});
  else {  // STEP 0 never ends by itself: a counter leaves it
    const std::string w = Counter();
    lines_.push_back(w + " = 0");
    line = "FOR " + v + " = 1 TO 2 STEP 0: " + w + " = " + w + " + 1: IF " + w + " > 3 THEN ";
  }
  const size_t header = lines_.size();
  lines_.push_back(line);
  for (int body = 1 + rnd_.Below(3); body > 0; --body) Block(loopDepth + 1);
  lines_.push_back(rnd_.Chance(50) ? "NEXT " + v : "NEXT");
  // The way out of a STEP 0 loop is the line after its NEXT.
  if (lines_[header].ends_with("THEN ")) lines_[header] += Ref(lines_.size());
}

void Generator::WhileBlock(int loopDepth) {
  const std::string w = Counter();
  const std::string limit = std::to_string(1 + rnd_.Below(4));
  const bool atTop = rnd_.Chance(60);
  lines_.push_back(w + " = 0: WHILE" + (atTop ? " " + w + " < " + limit : ""));
  for (int body = 1 + rnd_.Below(2); body > 0; --body) Block(loopDepth + 1);
  lines_.push_back(w + " = " + w + " + 1: WEND" + (atTop ? "" : " " + w + " >= " + limit));
}

void Generator::BackwardLoop(int loopDepth) {
  const std::string w = Counter();
  lines_.push_back(w + " = 0");
  const size_t top = lines_.size();
  for (int body = 1 + rnd_.Below(2); body > 0; --body) Block(loopDepth + 1);
  lines_.push_back(w + " = " + w + " + 1: IF " + w + " < " + std::to_string(2 + rnd_.Below(3)) +
                   " THEN " + Ref(top));
}

void Generator::DataLine(int) {
  std::string line = "DATA ";
  for (int i = 1 + rnd_.Below(4); i > 0; --i) {
    line += rnd_.Chance(10) ? rnd_.Pick(kLiteralTexts) : rnd_.Chance(20) ? Number(1) : Literal();
    if (i > 1) line += ", ";
  }
  dataLines_.push_back(lines_.size());
  lines_.push_back(line);
}

void Generator::DeepExpression(int) {
  // Around the nesting limit, and past the translation's own stack.
  const int kind = rnd_.Below(3);
  const int n = kind == 0 ? 495 + rnd_.Below(10) : 10 + rnd_.Below(25);
  std::string e = kind == 2 ? "SIN(" : "(";
  std::string open, close;
  for (int i = 0; i < n; ++i) {
    open += kind == 1 ? NumberLeaf(0) + " - (" : e;
    close += ")";
  }
  lines_.push_back("X = " + open + NumberLeaf(0) + close + ": PRINT X");
}

void Generator::GotoLine(int) { lines_.push_back("GOTO " + Forward()); }

void Generator::Block(int loopDepth) {
  static constexpr struct {
    int weight;
    BlockMaker make;
  } kBlocks[] = {{60, &Generator::SimpleLine}, {8, &Generator::ForBlock},
                 {5, &Generator::WhileBlock},  {3, &Generator::BackwardLoop},
                 {4, &Generator::DataLine},    {1, &Generator::DeepExpression},
                 {2, &Generator::GotoLine}};
  int total = 0;
  for (const auto& b : kBlocks) total += b.weight;
  // Loops nest three deep at most, so that every program stays short.
  int pick = rnd_.Below(loopDepth >= 3 ? kBlocks[0].weight : total);
  for (const auto& b : kBlocks) {
    if (pick < b.weight) return (this->*b.make)(loopDepth);
    pick -= b.weight;
  }
}

std::string Generator::Resolve(const std::string& line) const {
  std::string out;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '@') {
      out += line[i];
      continue;
    }
    size_t index = 0;
    while (i + 1 < line.size() && line[i + 1] >= '0' && line[i + 1] <= '9')
      index = index * 10 + static_cast<size_t>(line[++i] - '0');
    out += std::to_string(10 * (std::min(index, lines_.size() - 1) + 1));
  }
  return out;
}

GeneratedProgram Generator::Make() {
  static constexpr const char* kArrayNames[] = {"M", "G", "H", "T$", "U$"};
  std::string dims;
  for (const char* name : kArrayNames) {
    const int count = name[1] == '$' ? 1 + rnd_.Below(2) : 1 + rnd_.Below(3);
    const bool declared = rnd_.Chance(70);
    arrays_.push_back({name, count, declared ? 3 + rnd_.Below(5) : 10});
    if (!declared) continue;
    dims += (dims.empty() ? "DIM " : ", ") + arrays_.back().name + "(";
    for (int i = 0; i < count; ++i) dims += (i ? ", " : "") + std::to_string(arrays_.back().bound);
    dims += ")";
  }
  lines_.push_back(dims.empty() ? "REM no DIM" : dims);
  std::string init;
  for (const char* name : kNumbers)
    init += (init.empty() ? "" : ": ") + std::string(name) + " = " + Literal();
  lines_.push_back(init + ": A$ = \"start\": q$ = \"q\"");
  const size_t jumpToMain = lines_.size();
  lines_.push_back("");
  for (int count = rnd_.Below(4); count > 0; --count) {
    const size_t start = lines_.size();
    for (int body = 1 + rnd_.Below(3); body > 0; --body) Block(1);
    lines_.push_back("RETURN");
    subroutines_.push_back(start);
  }
  if (rnd_.Chance(30)) {  // recursion, some levels deep
    const size_t start = lines_.size();
    lines_.push_back("R = R + 1: IF R < " + std::to_string(2 + rnd_.Below(60)) + " THEN GOSUB " +
                     Ref(start));
    lines_.push_back("PRINT R;: R = R - 1: RETURN");
    subroutines_.push_back(start);
  }
  lines_[jumpToMain] = "GOTO " + Ref(lines_.size());
  const size_t mainStart = lines_.size();
  for (int count = 4 + rnd_.Below(20); count > 0; --count) Block(0);
  lines_.push_back("END");
  if (rnd_.Chance(50)) lines_.push_back("PRINT \"after END\"");

  GeneratedProgram program;
  for (size_t i = 0; i < lines_.size(); ++i)
    program.text += std::to_string(10 * (i + 1)) + " " + Resolve(lines_[i]) + "\r\n";
  // Immediate lines: a saved copy to MERGE back, a changed line, and runs
  // that start in the middle, with the variables kept (GOTO) or not (RUN).
  const auto someLine = [&] {
    return Resolve(Ref(mainStart + rnd_.Below(static_cast<int>(lines_.size() - mainStart))));
  };
  // "tail" holds the second half: a MERGE of it from the first half goes on.
  const size_t half = mainStart + (lines_.size() - mainStart) / 2;
  program.text += "SAVE \"saved\"\r\nDEL -" + Resolve(Ref(half - 1)) + "\r\nSAVE \"tail\"\r\n";
  program.text += "MERGE \"saved\"\r\nSAVE \"copy\"\r\n";
  if (rnd_.Chance(30)) program.text += someLine() + " PRINT \"replaced\"\r\n";
  program.text += "RUN\r\n";
  for (int count = rnd_.Below(6); count > 0; --count) {
    switch (rnd_.Below(6)) {
      case 0:
      case 4:
      case 5: program.text += "GOTO " + someLine() + "\r\n"; break;
      case 1: program.text += "RUN " + someLine() + "\r\n"; break;
      case 2: program.text += "PRINT A; B; X; A$; q$: DIM Q(2): GOTO " + someLine() + "\r\n"; break;
      default: program.text += Cat({"A = ", Literal(), ": ", Print(0), "\r\n"}); break;
    }
  }
  program.input = input_;
  return program;
}

}  // namespace

GeneratedProgram GenerateProgram(uint64_t seed) { return Generator(seed).Make(); }

}  // namespace basic::differential
