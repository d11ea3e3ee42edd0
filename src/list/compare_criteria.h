#pragma once

#include <string>

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
