#include "core/text_buffer.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/sjis.h"
#include "core/text_requests.h"
#include "core/text_words.h"

namespace quillet {
namespace {

constexpr std::size_t kNo = TextBuffer::kNoPos;

TextBuffer Make(std::string_view text) {
  TextBuffer b;
  b.set_limit(1u << 30);
  b.SetText(text);
  return b;
}

// Runs a small script of edits: "t:x" types x, "<" Backspace, ">" Delete, "s:a,c"
// selects, "r:x" / "R:x" replaces the selection undoably / not, "u" undoes, "m0" clears
// the modify flag, "e" empties the undo record. "\n" in a text is written "|".
// Runs the script's operations; answers what the last edit did.
TextChange RunScript(TextBuffer& b, const std::string& script) {
  std::istringstream in(script);
  std::string op;
  TextChange last;
  while (in >> op) {
    std::string arg = op.size() > 2 ? op.substr(2) : "";
    for (char& c : arg) if (c == '|') c = '\n';
    switch (op[0]) {
      case 't': last = b.Type(arg); break;
      case '<': last = b.DeleteBackward(); break;
      case '>': last = b.DeleteForward(); break;
      case 's': b.Select(std::stoul(arg), std::stoul(arg.substr(arg.find(',') + 1))); break;
      case 'r': last = b.ReplaceSelection(arg, true); break;
      case 'R': last = b.ReplaceSelection(arg, false); break;
      case 'u': last = b.Undo(); break;
      case 'm': b.set_modified(false); break;
      case 'e': b.EmptyUndo(); break;
      default: ADD_FAILURE() << "bad op " << op;
    }
  }
  return last;
}

TEST(TextBufferTest, LoneCrAndLoneLfBecomeCrLfOnEveryWayIn) {
  struct Row { const char* in; const char* out; } rows[] = {
      {"a\nb", "a\r\nb"},       {"a\rb", "a\r\nb"},         {"a\r\nb", "a\r\nb"},
      {"\n\n", "\r\n\r\n"},     {"\r\r\n\n", "\r\n\r\n\r\n"}, {"\r", "\r\n"},
      {"x\n\r", "x\r\n\r\n"},   {"あ\nい", "あ\r\nい"},       {"", ""},
  };
  for (auto r : rows) {
    EXPECT_EQ(Make(r.in).Text(), r.out) << "set-text " << r.in;
    TextBuffer b = Make("");
    b.ReplaceSelection(r.in, true);
    EXPECT_EQ(b.Text(), r.out) << "replace " << r.in;
    EXPECT_EQ(b.LineCount(), Make(r.out).LineCount()) << "replace " << r.in;
    TextBuffer t = Make("");
    t.Type(r.in);
    EXPECT_EQ(t.Text(), r.out) << "type " << r.in;
    // A file's block, taken over as it was read.
    std::string in = r.in;
    TextBlock block{std::make_unique<char[]>(GapText::CapacityFor(in.size())), in.size(),
                    GapText::CapacityFor(in.size())};
    std::copy(in.begin(), in.end(), block.data.get());
    TextBuffer adopted = Make("old text");
    adopted.Type("x");
    adopted.AdoptText(std::move(block));
    EXPECT_EQ(adopted.Text(), r.out) << "block " << r.in;
    EXPECT_EQ(adopted.LineCount(), Make(r.out).LineCount()) << "block " << r.in;
    EXPECT_FALSE(adopted.modified()) << "block " << r.in;
    EXPECT_FALSE(adopted.CanUndo()) << "block " << r.in;
    adopted.Type("yz");
    EXPECT_EQ(adopted.Text(), "yz" + std::string(r.out)) << "typing after a block " << r.in;
  }
}

TEST(TextBufferTest, LinesStartAfterEachBreakAndAFinalBreakAddsAnEmptyLine) {
  struct Row { const char* text; std::vector<std::size_t> starts; std::vector<std::size_t> ends; } rows[] = {
      {"", {0}, {0}},
      {"abc", {0}, {3}},
      {"abc\r\n", {0, 5}, {3, 5}},
      {"a\r\n\r\nb", {0, 3, 5}, {1, 3, 6}},
      {"あ\r\nい", {0, 4}, {2, 6}},           // double-byte at the end of a line
      {"表\r\n", {0, 4}, {2, 4}},              // trail byte 0x5C before the break
      {"\r\n", {0, 2}, {0, 2}},
  };
  for (const auto& r : rows) {
    TextBuffer b = Make(r.text);
    ASSERT_EQ(b.LineCount(), r.starts.size()) << r.text;
    for (std::size_t i = 0; i < r.starts.size(); ++i) {
      EXPECT_EQ(b.LineStart(i), r.starts[i]) << r.text << " line " << i;
      EXPECT_EQ(b.LineEnd(i), r.ends[i]) << r.text << " line " << i;
    }
    EXPECT_EQ(b.LineStart(r.starts.size()), kNo) << r.text;
    for (std::size_t pos = 0; pos <= b.size(); ++pos) {
      std::size_t expected = 0;
      while (expected + 1 < r.starts.size() && r.starts[expected + 1] <= pos) ++expected;
      EXPECT_EQ(b.LineOf(pos), expected) << r.text << " pos " << pos;
    }
  }
}

TEST(TextBufferTest, SelectionEndsSnapBackToCharacterStartsAndClampToTheEnd) {
  // "aあ\r\nbソ": a=0, あ=1..2, CR LF=3..4, b=5, ソ=6..7 (trail byte 0x5C).
  struct Row { std::size_t pos, snapped; } rows[] = {
      {0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 3}, {5, 5}, {6, 6}, {7, 6}, {8, 8}, {99, 8},
  };
  for (auto r : rows) {
    TextBuffer b = Make("aあ\r\nbソ");
    b.Select(r.pos, r.pos);
    EXPECT_EQ(b.caret(), r.snapped) << "pos " << r.pos;
    EXPECT_EQ(b.anchor(), r.snapped) << "pos " << r.pos;
  }
  // A run of lead-range bytes pairs up from its start: "ﾞ" (0xDE) then 0x88 0x9F 0x88 0x9F.
  TextBuffer kanji = Make("\xDE\x88\x9F\x88\x9F");
  struct Run { std::size_t pos, snapped; } runs[] = {{1, 1}, {2, 1}, {3, 3}, {4, 3}, {5, 5}};
  for (auto r : runs) EXPECT_EQ(kanji.SnapBack(r.pos), r.snapped) << "run pos " << r.pos;
  // A lead byte before a break or at the end stands alone.
  TextBuffer lone = Make("\x82\r\nx\x82");
  EXPECT_EQ(lone.SnapBack(1), 1u);
  EXPECT_EQ(lone.NextChar(0), 1u);
  EXPECT_EQ(lone.NextChar(4), 5u);
}

TEST(TextBufferTest, CharacterStepsTakeDoubleBytesAndBreaksWhole) {
  TextBuffer b = Make("aあ\r\nbソ");
  struct Row { std::size_t pos, next, prev; } rows[] = {
      {0, 1, 0}, {1, 3, 0}, {3, 5, 1}, {5, 6, 3}, {6, 8, 5}, {8, 8, 6},
  };
  for (auto r : rows) {
    EXPECT_EQ(b.NextChar(r.pos), r.next) << r.pos;
    EXPECT_EQ(b.PrevChar(r.pos), r.prev) << r.pos;
  }
}

TEST(TextBufferTest, SelectionRequestsFollowTheMinusOneConventions) {
  // Text of 10 bytes: "ab\r\nあい\r\n" -> the caret starts at 2 with anchor 1 in each row.
  struct Row { long start, end; std::size_t anchor, caret; } rows[] = {
      {0, -1, 0, 10},   // select all
      {-1, 5, 2, 2},    // remove the selection, caret stays
      {-1, -1, 2, 2},
      {4, -1, 4, 10},   // to the end
      {6, 4, 6, 4},     // anchor after the caret
      {5, 5, 4, 4},     // inside あ snaps back
      {3, 3, 2, 2},     // between CR and LF snaps back
      {7, 99, 6, 10},   // past the end clamps
  };
  for (auto r : rows) {
    TextBuffer b = Make("ab\r\nあい\r\n");
    b.Select(1, 2);
    SetSelectionRequest(b, r.start, r.end);
    EXPECT_EQ(b.anchor(), r.anchor) << r.start << "," << r.end;
    EXPECT_EQ(b.caret(), r.caret) << r.start << "," << r.end;
  }
}

TEST(TextBufferTest, LineRequestsFollowTheMinusOneConventions) {
  // Lines: "ab" 0..2, "あいう" 4..10, "" 12 (after the final break).
  TextBuffer b = Make("ab\r\nあいう\r\n");
  struct Row { long arg; long from_char, index, length; } rows[] = {
      {0, 0, 0, 2}, {1, 0, 4, 2}, {2, 0, 12, 2}, {3, 0, -1, 2}, {4, 1, -1, 6}, {10, 1, -1, 6}, {12, 2, -1, 0},
      {99, 2, -1, 0},
  };
  for (auto r : rows) {
    EXPECT_EQ(LineFromCharRequest(b, r.arg), r.from_char) << r.arg;
    EXPECT_EQ(LineIndexRequest(b, r.arg), r.index) << r.arg;
    EXPECT_EQ(LineLengthRequest(b, r.arg), r.length) << r.arg;
  }
  struct Sel { std::size_t anchor, caret; long from_char, index, unselected; } sels[] = {
      {6, 6, 1, 4, 6},    // caret in line 1: the whole line is unselected
      {1, 6, 0, 4, 1 + 4},  // "b\r\nあ" selected: "a" before, "いう" after
      {8, 1, 0, 0, 1 + 2},  // caret on line 0 answers line 0's index
      {0, 12, 0, 12, 0},
  };
  for (auto s : sels) {
    b.Select(s.anchor, s.caret);
    EXPECT_EQ(LineFromCharRequest(b, -1), s.from_char) << s.anchor << "-" << s.caret;
    EXPECT_EQ(LineIndexRequest(b, -1), s.index) << s.anchor << "-" << s.caret;
    EXPECT_EQ(LineLengthRequest(b, -1), s.unselected) << s.anchor << "-" << s.caret;
  }
  struct Get { long line; const char* text; } gets[] = {{0, "ab"}, {1, "あいう"}, {2, ""}, {3, ""}, {-1, ""}};
  for (auto g : gets) EXPECT_EQ(LineTextRequest(b, g.line), g.text) << g.line;
}

TEST(TextBufferTest, PackedSelectionIsMinusOneBeyondSixteenBits) {
  TextBuffer b = Make(std::string(70000, 'x'));
  struct Row { std::size_t anchor, caret; std::int64_t packed; } rows[] = {
      {3, 7, 3 | 7 << 16}, {7, 3, 3 | 7 << 16}, {0, 65535, 65535LL << 16}, {0, 65536, -1}, {65536, 65536, -1},
  };
  for (auto r : rows) {
    b.Select(r.anchor, r.caret);
    EXPECT_EQ(PackedSelection(b), r.packed) << r.anchor << "-" << r.caret;
  }
}

TEST(TextBufferTest, FindMatchesWhollyInsideTheRangeOnCharacterStarts) {
  struct Row { const char* text; const char* needle; long min, max; bool match_case; long found; } rows[] = {
      {"abc abc", "abc", 0, -1, true, 0},
      {"abc abc", "abc", 1, -1, true, 4},
      {"abc abc", "abc", 1, 6, true, -1},     // the match would end past max
      {"abc abc", "abc", 1, 7, true, 4},
      {"abc abc", "abc", 1, 99, true, 4},     // max past the end (L + 1) is the end
      {"abc ABC", "ABC", 0, -1, true, 4},
      {"abc ABC", "ABC", 0, -1, false, 0},
      {"xaBc", "AbC", 0, -1, false, 1},
      {"xaBc", "AbC", 0, -1, true, -1},
      {"ア", "A", 0, -1, false, -1},           // 0x83 0x41: its trail byte is no letter
      {"アA", "a", 0, -1, false, 2},
      {"アa", "ア", 0, -1, false, 0},
      {"ｱア", "ア", 0, -1, true, 1},
      {"あいう", "い", 0, -1, true, 2},
      {"あいう", "い", 1, -1, true, 2},        // a min inside あ starts at the next character
      {"\x88\x9F\x88\x9F", "\x9F\x88", 0, -1, true, -1},  // bytes straddling two kanji
      {"a\r\nb", "\nb", 0, -1, true, -1},
      {"a\r\nb", "a\r\nb", 0, -1, true, 0},
      {"a\r\nb", "a\r", 0, -1, true, -1},                    // half a break
      {"あい", "\x82", 0, -1, true, -1},                     // half a character
      {"\x82\r\nあ", "\x82", 0, -1, true, 0},
      {"abc", "", 0, -1, true, -1},
      {"abc", "c", 3, -1, true, -1},
      {"abc", "c", 2, 1, true, -1},
  };
  for (auto r : rows) {
    TextBuffer b = Make(r.text);
    EXPECT_EQ(FindRequest(b, r.needle, r.min, r.max, r.match_case), r.found)
        << r.text << " / " << r.needle << " " << r.min << ".." << r.max << (r.match_case ? " case" : "");
  }
}

// The search walks the text in place on both sides of the edit gap: wherever the gap is,
// even inside a match, it finds what a text without a gap finds.
TEST(TextBufferTest, FindIsTheSameWhereverTheEditGapIs) {
  const std::string text = "ア表\\aBc\r\nｱabcア\x81\x81" "abc";
  const std::pair<const char*, bool> needles[] = {
      {"abc", true}, {"ABC", false}, {"c\r\nｱ", true}, {"\\", true}, {"\x81\x81", true}, {"\x81" "a", true}, {"A", false},
  };
  TextBuffer plain = Make(text);
  for (std::size_t gap = 0; gap <= text.size(); ++gap) {
    if (plain.SnapBack(gap) != gap) continue;  // a caret, so the gap, is never inside a character
    TextBuffer b = Make(text);
    b.Select(gap, gap);
    b.Type("x");
    b.Undo();  // the gap now sits at gap
    for (auto [needle, match_case] : needles) {
      for (std::size_t from = 0; from <= text.size(); ++from) {
        EXPECT_EQ(b.Find(needle, from, text.size(), match_case), plain.Find(needle, from, text.size(), match_case))
            << "gap " << gap << ", from " << from << ", " << needle;
      }
    }
  }
}

// Against the plainest search there is: walk every character start from the beginning
// and compare there, double-byte characters exactly, other bytes by the case rule; a
// match ends where a character of the text ends.
std::size_t WalkAndCompare(std::string_view text, std::string_view needle, std::size_t begin, std::size_t end,
                           bool match_case) {
  auto fold = [&](char c) { return !match_case && c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  auto length = [&](std::size_t p) -> std::size_t {
    if (p + 1 >= text.size()) return 1;
    if (text[p] == '\r' && text[p + 1] == '\n') return 2;
    return IsLeadByte(text[p]) && static_cast<unsigned char>(text[p + 1]) >= 0x40 ? 2 : 1;
  };
  auto ends_char = [&](std::size_t q) {
    std::size_t p = 0;
    while (p < q) p += length(p);
    return p == q;
  };
  for (std::size_t p = 0; p < text.size(); p += length(p)) {
    if (p < begin || p + needle.size() > end || !ends_char(p + needle.size())) continue;
    bool same = true;
    for (std::size_t i = 0; same && i < needle.size(); ++i) {
      bool pair = IsLeadByte(needle[i]) && i + 1 < needle.size() && static_cast<unsigned char>(needle[i + 1]) >= 0x40;
      same = pair ? text.substr(p + i, 2) == needle.substr(i, 2) : fold(text[p + i]) == fold(needle[i]);
      i += pair;
    }
    if (same) return p;
  }
  return TextBuffer::kNoPos;
}

TEST(TextBufferTest, FindAgreesWithAWalkOverRandomShiftJisBytes) {
  const char alphabet[] = {'a', 'A', 'b', '\\', '\r', '\n', 'x', '\x81', '\x83', '\x95', '\x41', '\x5C', '\x61', '\xE0', '\x40', '\x30', '\xA6'};
  std::mt19937 rng(7);
  auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
  for (int round = 0; round < 3000; ++round) {
    std::string raw;
    for (std::size_t n = pick(40); n > 0; --n) raw += alphabet[pick(sizeof alphabet)];
    TextBuffer b = Make(raw);
    std::string text = b.Text();  // breaks made CR LF
    std::size_t gap = b.SnapBack(pick(text.size() + 1));
    b.Select(gap, gap);
    b.Type("x");
    b.Undo();  // the edit gap stays where the typing was
    std::size_t from = pick(text.size() + 1), length = 1 + pick(4);
    std::string needle = from + length <= text.size() && pick(2) ? text.substr(from, length)
                                                                 : std::string(1, alphabet[pick(sizeof alphabet)]);
    std::size_t begin = pick(text.size() + 1), end = begin + pick(text.size() + 2 - begin);
    bool match_case = pick(2) == 0;
    ASSERT_EQ(b.Text(), text);
    ASSERT_EQ(b.Find(needle, begin, end, match_case),
              WalkAndCompare(text, needle, begin, std::min(end, text.size()), match_case))
        << "round " << round;
    // Two needles at once, sharing their first byte (or its other case) or not: the earlier
    // match of the two.
    std::string other = (pick(2) ? needle.substr(0, 1) : std::string(1, alphabet[pick(sizeof alphabet)])) +
                        alphabet[pick(sizeof alphabet)];
    if (std::isalpha(static_cast<unsigned char>(other[0])) && pick(2)) other[0] ^= 0x20;
    const std::string_view both[] = {needle, other};
    std::size_t a = WalkAndCompare(text, needle, begin, std::min(end, text.size()), match_case);
    std::size_t o = WalkAndCompare(text, other, begin, std::min(end, text.size()), match_case);
    TextBuffer::FoundNeedle found = b.FindAny(both, begin, end, match_case);
    ASSERT_EQ(found.pos, std::min(a, o)) << "round " << round;
    if (found.pos != TextBuffer::kNoPos) {
      ASSERT_EQ(found.index, a == found.pos ? 0u : 1u) << "round " << round;
    }
  }
}

TEST(TextBufferTest, UndoRevertsCoalescedStepsWithTheirSelection) {
  struct Row { const char* start; const char* script; const char* text; std::size_t anchor, caret; bool can_undo; } rows[] = {
      {"", "t:a t:b t:c u", "", 0, 0, false},               // typing is one step
      {"", "t:a t:b s:2,2 t:c u", "ab", 2, 2, true},       // a caret move ends the step
      {"", "t:a t:| t:b u", "", 0, 0, false},               // Enter is typing too
      {"xyz", "s:1,2 t:a t:b u", "xyz", 1, 2, false},       // typing over a selection
      {"abcd", "s:4,4 < < u", "abcd", 4, 4, false},         // Backspace run
      {"abcd", "s:0,0 > > u", "abcd", 0, 0, false},         // Delete run
      {"abcd", "s:4,4 < t:x u", "abc", 3, 3, true},         // typing after Backspace is a new step
      {"abcd", "s:4,4 < t:x u u", "abcd", 4, 4, false},
      {"ab", "s:2,2 r:x r:y u", "abx", 3, 3, true},         // replacements never coalesce
      {"ab", "s:2,2 t:x R:y", "abxy", 4, 4, false},         // a non-undoable replace empties the record
      {"あい", "s:4,4 < u", "あい", 4, 4, false},
      {"a\r\nb", "s:3,3 < u", "a\r\nb", 3, 3, false},
      {"ab", "t:x e", "xab", 1, 1, false},
  };
  for (auto r : rows) {
    TextBuffer b = Make(r.start);
    RunScript(b, r.script);
    EXPECT_EQ(b.Text(), r.text) << r.script;
    EXPECT_EQ(b.anchor(), r.anchor) << r.script;
    EXPECT_EQ(b.caret(), r.caret) << r.script;
    EXPECT_EQ(b.CanUndo(), r.can_undo) << r.script;
  }
}

TEST(TextBufferTest, DeletionRemovesWholeCharactersAndBreaks) {
  struct Row { const char* start; std::size_t caret; bool backward; const char* text; std::size_t after; } rows[] = {
      {"aあb", 3, true, "ab", 1},      {"aあb", 1, false, "ab", 1},
      {"a\r\nb", 3, true, "ab", 1},    {"a\r\nb", 1, false, "ab", 1},
      {"ソ", 2, true, "", 0},          {"ab", 0, true, "ab", 0},
      {"ab", 2, false, "ab", 2},
  };
  for (auto r : rows) {
    TextBuffer b = Make(r.start);
    b.Select(r.caret, r.caret);
    if (r.backward) b.DeleteBackward(); else b.DeleteForward();
    EXPECT_EQ(b.Text(), r.text) << r.start << " at " << r.caret;
    EXPECT_EQ(b.caret(), r.after) << r.start << " at " << r.caret;
    EXPECT_EQ(b.LineCount(), Make(r.text).LineCount()) << r.start << " at " << r.caret;
  }
}

// A lone lead byte (0xE9 "é" of a Latin-1 text, a cut-off character) must not pair with
// a byte an edit brings next to it: such an edit changes nothing and says it was refused
// (the editor beeps), every other goes ahead.
TEST(TextBufferTest, EditsNeverPairALoneLeadByteWithItsNewNeighbour) {
  struct Row { const char* start; const char* script; const char* text; std::size_t anchor, caret; } rows[] = {
      {"caf\xE9\r\nAB", "s:6,6 <", "caf\xE9\r\nAB", 6, 6},        // joining the lines would make 0xE9 0x41
      {"AB", "s:0,0 r:\x81", "AB", 0, 0},                        // a paste ending in a lead byte
      {"\x82\r\nA", "s:1,1 >", "\x82\r\nA", 1, 1},
      {"caf\xE9", "s:4,4 t:s", "caf\xE9", 4, 4},                // typing after it at the end
      {"\xE9 A", "s:1,2 <", "\xE9 A", 1, 2},                     // deleting a selection
      {"x＝＝", "s:1,1 t:\x81", "x＝＝", 1, 1},                  // would pair up a whole run anew
      {"あ\r\nA", "s:4,4 <", "あA", 2, 2},                      // after a whole character: joined
      {"caf\xE9\r\nAB", "s:4,4 t:!", "caf\xE9!\r\nAB", 5, 5},     // "!" cannot trail
      {"AB", "s:2,2 r:\x81", "AB\x81", 3, 3},                     // alone at the end of the text
      {"caf\xE9\r\nAB", "s:4,4 < >", "cafAB", 3, 3},             // the lone byte deleted first
  };
  for (auto r : rows) {
    TextBuffer b = Make(r.start);
    TextChange last = RunScript(b, r.script);
    EXPECT_EQ(b.Text(), r.text) << r.script;
    EXPECT_EQ(b.anchor(), r.anchor) << r.script;
    EXPECT_EQ(b.caret(), r.caret) << r.script;
    EXPECT_EQ(b.modified(), b.Text() != r.start) << r.script;
    EXPECT_EQ(last.refused, b.Text() == r.start) << r.script;
  }
}

TEST(TextBufferTest, ModifyFlagIsClearedOnlyBySetTextAndSetByChanges) {
  struct Row { const char* script; bool modified; } rows[] = {
      {"", false}, {"t:x", true}, {"s:0,1", false}, {"m0 s:1,1 <", true}, {"t:x m0 u", true},
      {"R:", false},  // replacing nothing with nothing changes nothing
      {"R:z", true}, {"s:0,0 <", false},
  };
  for (auto r : rows) {
    TextBuffer b = Make("ab");
    RunScript(b, r.script);
    EXPECT_EQ(b.modified(), r.modified) << r.script;
  }
  TextBuffer b = Make("ab");
  b.Type("x");
  b.SetText("new");
  EXPECT_FALSE(b.modified());
  EXPECT_FALSE(b.CanUndo());
  EXPECT_EQ(b.caret(), 0u);
}

TEST(TextBufferTest, EditsPastTheLimitAreCutAtACharacterBoundary) {
  struct Row { const char* start; std::size_t limit; const char* insert; const char* text; bool truncated; } rows[] = {
      {"ab", 5, "xyz", "abxyz", false},
      {"ab", 4, "xyz", "abxy", true},
      {"ab", 4, "xあ", "abx", true},          // あ would be cut in half
      {"ab", 4, "x\ny", "abx", true},         // CR LF is not split
      {"ab", 5, "x\ny", "abx\r\n", true},
      {"abcdef", 4, "x", "abcdef", true},    // already over: nothing goes in
      {"ab", 2, "", "ab", false},
  };
  for (auto r : rows) {
    TextBuffer b = Make(r.start);
    b.set_limit(r.limit);
    b.Select(2, 2);
    TextChange change = b.ReplaceSelection(r.insert, true);
    EXPECT_EQ(b.Text(), r.text) << r.start << " + " << r.insert << " limit " << r.limit;
    EXPECT_EQ(change.truncated, r.truncated) << r.insert << " limit " << r.limit;
  }
}

TEST(TextBufferTest, RandomEditsKeepTextAndLinesInStepWithAPlainString) {
  std::mt19937 rng(12345);
  const char* pieces[] = {"a", "bc", "\r\n", "あ", "x\r\ny", "\r\n\r\n", "表", ""};
  TextBuffer b = Make("start\r\nof\r\ntext");
  std::string model = "start\r\nof\r\ntext";
  for (int step = 0; step < 3000; ++step) {
    std::size_t p = b.SnapBack(rng() % (model.size() + 1));
    std::size_t q = b.SnapBack(p + rng() % 8);
    b.Select(p, q);
    std::string piece = pieces[rng() % 8];
    b.ReplaceSelection(piece, step % 2 == 0);
    model.replace(p, q - p, piece);
    ASSERT_EQ(b.size(), model.size()) << "step " << step;
    if (step % 100 == 0) {
      ASSERT_EQ(b.Text(), model) << "step " << step;
    }
    std::size_t probe = rng() % (model.size() + 1);
    std::size_t line = static_cast<std::size_t>(std::count(model.begin(), model.begin() + static_cast<long>(probe), '\n'));
    ASSERT_EQ(b.LineOf(probe), line) << "step " << step << " pos " << probe;
    std::size_t start = model.rfind('\n', probe == 0 ? 0 : probe - 1);
    start = (start == std::string::npos || probe == 0) ? 0 : start + 1;
    ASSERT_EQ(b.LineStart(line), start) << "step " << step << " line " << line;
  }
  EXPECT_EQ(b.LineCount(), static_cast<std::size_t>(std::count(model.begin(), model.end(), '\n')) + 1);
}

TEST(TextBufferTest, WordsAreRunsOfOneCharacterClass) {
  // "ab12 かなカナ漢字。x\r\ny": ab12=0..4, blank=4, かな=5..9, カナ=9..13, 漢字=13..17,
  // 。=17..19, x=19, CR LF=20, y=22.
  TextBuffer b = Make("ab12 かなカナ漢字。x\r\ny");
  struct Row { std::size_t pos, next, prev, begin, end; } rows[] = {
      {0, 5, 0, 0, 4},      {2, 5, 0, 0, 4},    {4, 5, 0, 4, 5},      {5, 13, 0, 5, 13},
      {13, 17, 5, 13, 17},  {17, 19, 13, 17, 19}, {19, 20, 17, 19, 20}, {20, 22, 19, 19, 20},
      {22, 23, 20, 22, 23}, {23, 23, 22, 22, 23},
  };
  for (auto r : rows) {
    EXPECT_EQ(NextWordStart(b, r.pos), r.next) << "next " << r.pos;
    EXPECT_EQ(PrevWordStart(b, r.pos), r.prev) << "prev " << r.pos;
    auto [begin, end] = WordAround(b, r.pos);
    EXPECT_EQ(begin, r.begin) << "word " << r.pos;
    EXPECT_EQ(end, r.end) << "word " << r.pos;
  }
  // Runs of lead-range bytes: a=0, 亜 (0x88 0x9F)=1..3, あ=3..5, lone 0x81=5, !=6,
  // ＝ (0x81 0x81)=7..9, CR LF=9.
  TextBuffer run = Make("a\x88\x9F\x82\xA0\x81!\x81\x81\r\n");
  struct Back { std::size_t pos, prev, begin, end; } backs[] = {
      {9, 5, 5, 9}, {8, 5, 5, 9}, {5, 3, 5, 9}, {3, 1, 3, 5}, {2, 0, 1, 3}, {11, 9, 11, 11},
  };
  for (auto r : backs) {
    EXPECT_EQ(PrevWordStart(run, r.pos), r.prev) << "run prev " << r.pos;
    auto [begin, end] = WordAround(run, r.pos);
    EXPECT_EQ(begin, r.begin) << "run word " << r.pos;
    EXPECT_EQ(end, r.end) << "run word " << r.pos;
  }
}

TEST(TextBufferTest, TextRangeClampsAndTakesMinusOneAsTheEnd) {
  TextBuffer b = Make("abcdef");
  struct Row { long min, max; const char* text; } rows[] = {{1, 3, "bc"}, {2, -1, "cdef"}, {4, 99, "ef"}, {5, 2, ""}, {-3, 2, "ab"}};
  for (auto r : rows) EXPECT_EQ(TextRangeRequest(b, r.min, r.max), r.text) << r.min << ".." << r.max;
}

}  // namespace
}  // namespace quillet
