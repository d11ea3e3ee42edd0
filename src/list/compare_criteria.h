#pragma once

#include <array>
#include <string>
#include <string_view>

#include "objects/object_table.h"

namespace quillet {

// Which attributes decide whether an object of file #1 and one of file #2 are the same object:
// the states of the six check boxes of frmUseCompare, as a plain value the core can read.
// Every box starts ticked. Modified and Compiled have no box: they always count.
struct CompareCriteria {
  bool use_type_id = true;  // chkUseTypeID: Type and ID
  bool use_name = true;     // chkUseName
  bool use_version = true;  // chkUseVersion
  bool use_date = true;     // chkUseDate
  bool use_time = true;     // chkUseTime
  bool use_bsize = true;    // chkUseBSize: BLOB size

  // Whether `field` takes part in the comparison. The field tests and the comparison engine
  // both go by this, so they cannot disagree on what counts.
  bool Counts(Field field) const;

  bool operator==(const CompareCriteria&) const = default;
};

// One box of the criteria dialog: the fields it governs, how the command line's --criteria
// names it and how the dialog shows it. The parser, the completion, the dialog, the reports
// and the field tests all read this table, in its order.
struct CriterionInfo {
  bool CompareCriteria::*ticked;
  std::string_view token;    // --criteria
  std::string_view box;      // the dialog's check box
  std::string_view caption;  // the box's caption, '&' before its mnemonic
  Field field;
  Field second_field;  // the same as `field` where it governs one
};

inline constexpr std::array<CriterionInfo, 6> kCriteriaBoxes = {{
    {&CompareCriteria::use_type_id, "type-id", "chkUseTypeID", "&Type and ID", Field::kType,
     Field::kId},
    {&CompareCriteria::use_name, "name", "chkUseName", "&Name", Field::kName, Field::kName},
    {&CompareCriteria::use_version, "version", "chkUseVersion", "&Version", Field::kVersion,
     Field::kVersion},
    {&CompareCriteria::use_date, "date", "chkUseDate", "&Date", Field::kDate, Field::kDate},
    {&CompareCriteria::use_time, "time", "chkUseTime", "T&ime", Field::kTime, Field::kTime},
    {&CompareCriteria::use_bsize, "size", "chkUseBSize", "&BLOB size", Field::kBlobSize,
     Field::kBlobSize},
}};

// A box's caption as plain text, without its mnemonic: "Type and ID".
std::string CriterionText(const CriterionInfo& criterion);

// What the boxes ticked count, for a report: "Type and ID, Name, Version, Date, Time, BLOB
// size"; "nothing" when no box is ticked. In a keyed comparison type and ID are the key, so
// they always count.
std::string CriteriaText(const CompareCriteria& criteria, bool keyed);

// The field tests. i is a record (1-based) of file #1, j one of file #2. A field that does not
// count passes; one that counts passes when its full-width texts are the same bytes: letter
// case counts, blanks count, and numbers, dates and times are compared as text.
bool SameType(const ObjectTable& table, const CompareCriteria& criteria, int i, int j);
bool SameID(const ObjectTable& table, const CompareCriteria& criteria, int i, int j);
bool SameName(const ObjectTable& table, const CompareCriteria& criteria, int i, int j);
bool SameModified(const ObjectTable& table, const CompareCriteria& criteria, int i, int j);
bool SameVersion(const ObjectTable& table, const CompareCriteria& criteria, int i, int j);
bool SameDate(const ObjectTable& table, const CompareCriteria& criteria, int i, int j);
bool SameTime(const ObjectTable& table, const CompareCriteria& criteria, int i, int j);
bool SameBSize(const ObjectTable& table, const CompareCriteria& criteria, int i, int j);
bool SameCompiled(const ObjectTable& table, const CompareCriteria& criteria, int i, int j);

// True when all nine field tests pass. Tries the ID first: it rejects most pairs at once.
bool ObjectsMatch(const ObjectTable& table, const CompareCriteria& criteria, int i, int j);

}  // namespace quillet
