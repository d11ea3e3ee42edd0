// The per-row shortcuts of the listing and the comparisons, each against the plain rule it
// stands for, over records whose blanks fall everywhere a field can hold them.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "list/changed_fields.h"
#include "list/list_view.h"
#include "list/match_index.h"
#include "list/object_keys.h"
#include "list/row_filter.h"
#include "list/trimmed_fields.h"
#include "objects/object_types.h"
#include "objects/progress_ticker.h"
#include "objects/text.h"
#include "output/export_line.h"
#include "test_support.h"

namespace quillet {
namespace {

// A field's text: blank, full, or shorter with blanks before, after or inside it.
std::string RandomField(std::mt19937& random, int width) {
  std::string field(static_cast<std::size_t>(width), ' ');
  const int shape = static_cast<int>(random() % 5);
  if (shape == 0) return field;
  const int begin = shape == 1 ? 0 : static_cast<int>(random() % static_cast<unsigned>(width));
  const int end = shape == 2
                      ? width
                      : begin + static_cast<int>(random() % static_cast<unsigned>(width - begin));
  for (int i = begin; i <= std::min(end, width - 1); ++i) {
    field[static_cast<std::size_t>(i)] =
        random() % 7 == 0 ? ' ' : static_cast<char>('!' + random() % 200);
  }
  return field;
}

std::string RandomRecord(std::mt19937& random) {
  std::string record;
  for (const int width : kFieldWidths) record += RandomField(random, width);
  return record;
}

TEST(RowScan, TrimmedFieldsAreThoseOfTrimBlanks) {
  std::mt19937 random(7);
  for (int n = 0; n < 20000; ++n) {
    const std::string record = RandomRecord(random);
    const NonBlankBits bits(record.data());
    const NonBlankBits portable = NonBlankBits::Portable(record.data());
    ASSERT_EQ(bits.words, portable.words) << record;
    const auto expect = [&](Field field, std::string_view trimmed) {
      ASSERT_EQ(trimmed, TrimBlanks(std::string_view(record).substr(
                             static_cast<std::size_t>(FieldOffset(field)),
                             static_cast<std::size_t>(FieldWidth(field)))))
          << record;
    };
    expect(Field::kType, TrimmedText<Field::kType>(record.data(), bits));
    expect(Field::kId, TrimmedText<Field::kId>(record.data(), bits));
    expect(Field::kName, TrimmedText<Field::kName>(record.data(), bits));
    expect(Field::kModified, TrimmedText<Field::kModified>(record.data(), bits));
    expect(Field::kVersion, TrimmedText<Field::kVersion>(record.data(), bits));
    expect(Field::kDate, TrimmedText<Field::kDate>(record.data(), bits));
    expect(Field::kTime, TrimmedText<Field::kTime>(record.data(), bits));
    expect(Field::kBlobSize, TrimmedText<Field::kBlobSize>(record.data(), bits));
    expect(Field::kCompiled, TrimmedText<Field::kCompiled>(record.data(), bits));
  }
}

// The saved list's line as the rule has it, a field at a time.
std::string ReferenceLine(const RowView& row) {
  std::string line = "\"" + std::to_string(row.file) + "\"";
  for (int f = 0; f < kFieldCount; ++f) {
    const auto field = static_cast<Field>(f);
    line +=
        ",\"" +
        std::string(TrimBlanks(row.record.substr(static_cast<std::size_t>(FieldOffset(field)),
                                                 static_cast<std::size_t>(FieldWidth(field))))) +
        "\"";
  }
  if (HasStatus(row.view)) {
    line += ",\"" + std::string(row.StatusText()) + "\",\"" + ChangedFieldsText(row.changed) + "\"";
  }
  return line + "\r\n";
}

TEST(RowScan, ExportLinesAreThoseOfTheRuleForEveryShapeOfField) {
  std::mt19937 random(11);
  // Appended after what is there, as the outputs append line after line.
  std::string out = "x";
  for (int n = 0; n < 20000; ++n) {
    const std::string record = RandomRecord(random);
    const StatusInfo& status = kStatuses[random() % kStatuses.size()];
    const RowView row{
        static_cast<int>(random() % 3), record, n % 3 == 0 ? ListView::kObjects : status.view,
        static_cast<std::uint8_t>(status.value), static_cast<std::uint16_t>(random() & 0x1FF)};
    out.resize(1);
    AppendExportLine(out, row);
    ASSERT_EQ(out, "x" + ReferenceLine(row)) << record;
  }
}

TEST(RowScan, ChangedFieldTextsMadeOnceAreThoseMadeEachTime) {
  for (FieldMask mask = 0; mask < (1u << (kFieldCount + 2)); ++mask) {
    ASSERT_EQ(ChangedFieldsView(mask), ChangedFieldsText(mask)) << mask;
  }
}

TEST(RowScan, ProgressStepsAreDueWhenTheirPercentFirstComes) {
  for (const long long total : {0LL, 1LL, 3LL, 7LL, 99LL, 100LL, 101LL, 250LL, 12345LL}) {
    ProgressTicker ticker(total);
    long long last_percent = -1;
    for (long long step = 0; step <= total + 2; ++step) {
      // The rule: each new whole percent, and the last step always.
      bool due = true;
      if (total > 0) {
        const long long percent = step * 100 / total;
        due = percent != last_percent || step == total;
        if (due) last_percent = percent;
      }
      ASSERT_EQ(ticker.Due(step), due) << step << " of " << total;
    }
  }
}

TEST(RowScan, TheRecordFilterPassesWhatTheRowFilterPasses) {
  ObjectTable table;
  // Runs of one type text, as files have them, broken by look-alikes that are other types.
  const std::vector<std::string_view> types = {
      "Table",  "Table",  "Table ",   "TableData", "Form",      "Form",      "form",
      "  Form", "Report", "Codeunit", "Codeunit",  "XMLport",   "MenuSuite", "Page",
      "Query",  "Query",  "",         "Widget",    "Codeunit9", "Table"};
  const std::vector<std::string_view> ids = {"1",          "2000000001", " 200000000",
                                             "20000000 1", "",           "99999"};
  for (std::size_t i = 0; i < types.size() * ids.size(); ++i) {
    test::AddRecord(table, 1, {types[i % types.size()], ids[(i / 3) % ids.size()]});
  }
  const int count = table.Count(1);
  for (unsigned selection = 0; selection < (1u << kTypeCount); ++selection) {
    for (const bool hide_system : {false, true}) {
      RowFilter filter;
      for (int t = 0; t < kTypeCount; ++t) filter.types[t] = (selection >> t & 1) != 0;
      filter.hide_system = hide_system;
      RecordFilter passes(filter);
      RecordFilter keys(filter);
      for (int i = 1; i <= count; ++i) {
        ASSERT_EQ(passes.Passes(table, 1, i), filter.Passes(table, 1, i))
            << selection << " " << hide_system << " " << table.Record(1, i);
        const std::string_view type = TrimBlanks(table.Read(1, i, Field::kType));
        const std::string_view id = TrimBlanks(table.Read(1, i, Field::kId));
        ASSERT_EQ(keys.PassesKey(type, id),
                  filter.PassTypeFilter(type) && filter.PassSystemFilter(id))
            << selection << " " << hide_system << " " << table.Record(1, i);
      }
    }
  }
}

TEST(RowScan, BatchedLookUpsFindWhatSingleOnesFind) {
  ObjectTable table;
  std::mt19937 random(5);
  // Few distinct texts, so that most records match some and some match several.
  const auto pick = [&](std::initializer_list<std::string_view> texts) {
    return *(texts.begin() + random() % texts.size());
  };
  for (int file = 1; file <= 2; ++file) {
    table.Reserve(file, 1000 + 37 * file);
    for (int i = 0; i < 1000 + 37 * file; ++i) {
      test::AddRecord(
          table, file,
          {pick({"Table", "Form", "Codeunit"}), std::to_string(random() % 60),
           pick({"Item", "Customer", ""}), "", pick({"V1", "V2"}), "", "", pick({"0", "12"})});
    }
  }
  for (const bool use_name : {false, true}) {
    CompareCriteria criteria;
    criteria.use_name = use_name;
    criteria.use_date = false;
    MatchIndex index(table, criteria);
    std::vector<int> all(static_cast<std::size_t>(table.Count(2)));
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i) + 1;
    index.Build(2, all);
    const int count = table.Count(1);
    for (const int first : {1, 2, 17}) {
      std::vector<int> groups(static_cast<std::size_t>(count - first + 1));
      index.FindBatch(first, static_cast<int>(groups.size()), groups.data());
      int found = 0;
      for (std::size_t k = 0; k < groups.size(); ++k) {
        ASSERT_EQ(groups[k], index.Find(first + static_cast<int>(k))) << k;
        found += groups[k] >= 0;
      }
      EXPECT_GT(found, 0);
      EXPECT_LT(found, static_cast<int>(groups.size()));
    }
  }
  MatchIndex empty(table, {});
  empty.Build(2, {});
  int groups[3] = {7, 7, 7};
  empty.FindBatch(1, 3, groups);
  EXPECT_EQ(std::vector<int>(groups, groups + 3), (std::vector<int>{-1, -1, -1}));
}

TEST(RowScan, KeysComeInTheOrderOfKeyBeforeWithTheirTrimmedTexts) {
  ObjectTable table;
  std::mt19937 random(3);
  const std::vector<std::string_view> types = {"Table", "Page", "Codeunit",  "Query", "Widget",
                                               "table", "",     "TableData", "Z"};
  for (int file = 1; file <= 2; ++file) {
    table.Reserve(file, 30000);
    for (int i = 0; i < 30000; ++i) {
      std::string id;
      switch (random() % 6) {
        case 0:
          id = std::to_string(random() % 20);
          break;  // many ties
        case 1:
          id = "00" + std::to_string(random() % 20);
          break;  // "7" beside "007"
        case 2:
          id = std::to_string(random() % 3000000000u) + "9";
          break;
        case 3:
          id = "A" + std::to_string(random() % 50);
          break;
        case 4:
          id = " " + std::to_string(random() % 9000);
          break;
        default:
          id = "";
          break;
      }
      test::AddRecord(table, file, {types[random() % types.size()], id});
    }
  }
  // File #3 lists file #1's objects in its order, with some left out, some added, some moved,
  // and some twice: most keys come as the one after the last, the rest do not.
  table.Reserve(3, 40000);
  for (int i = 1; i <= 30000; ++i) {
    const auto type = TrimBlanks(table.Read(1, i, Field::kType));
    const auto id = table.Read(1, i, Field::kId);
    switch (random() % 40) {
      case 0:
        break;
      case 1:
        test::AddRecord(table, 3, {"Page", std::to_string(random() % 100000)});
        [[fallthrough]];
      case 2:
        test::AddRecord(table, 3, {type, id});
        [[fallthrough]];
      default:
        test::AddRecord(table, 3, {type, id});
    }
    if (i % 997 == 0)
      test::AddRecord(table, 3, {TrimBlanks(table.Read(1, i / 2, Field::kType)), "5"});
  }
  const ObjectKeys keys(table, {1, 2, 3});
  const BulkVector<int> order = keys.InListOrder();
  ASSERT_EQ(std::ssize(order), keys.KeyCount());
  // Every record once, under a key of its own texts, each file's in file order; no key twice.
  std::set<std::pair<std::string_view, std::string_view>> texts;
  std::vector<std::vector<int>> seen(3);
  for (int key = 0; key < keys.KeyCount(); ++key) {
    ASSERT_TRUE(texts.insert({keys.Type(key), keys.Id(key)}).second) << key;
    const std::span<const int> members = keys.Members(key);
    const std::span<const std::uint16_t> slots = keys.Slots(key);
    for (std::size_t m = 0; m < members.size(); ++m) {
      const int file = slots[m] + 1;
      if (m > 0 && slots[m] == slots[m - 1]) {
        ASSERT_LT(members[m - 1], members[m]);
      }
      seen[slots[m]].push_back(members[m]);
      ASSERT_EQ(keys.Type(key), TrimBlanks(table.Read(file, members[m], Field::kType)));
      ASSERT_EQ(keys.Id(key), TrimBlanks(table.Read(file, members[m], Field::kId)));
    }
  }
  for (int file = 1; file <= 3; ++file) {
    std::vector<int>& records = seen[static_cast<std::size_t>(file - 1)];
    std::sort(records.begin(), records.end());
    ASSERT_EQ(std::ssize(records), table.Count(file));
    for (std::size_t r = 0; r < records.size(); ++r) ASSERT_EQ(records[r], static_cast<int>(r) + 1);
  }
  for (std::size_t k = 1; k < order.size(); ++k) {
    ASSERT_TRUE(KeyBefore(keys.Type(order[k - 1]), keys.Id(order[k - 1]), keys.Type(order[k]),
                          keys.Id(order[k])))
        << keys.Type(order[k - 1]) << ":" << keys.Id(order[k - 1]) << " then "
        << keys.Type(order[k]) << ":" << keys.Id(order[k]);
  }
}

}  // namespace
}  // namespace quillet
