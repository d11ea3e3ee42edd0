#include "list/compare_criteria.h"

namespace quillet {
namespace {

bool SameField(const ObjectTable& table, const CompareCriteria& criteria, Field field, int i,
               int j) {
  return !criteria.Counts(field) || table.Read(1, i, field) == table.Read(2, j, field);
}

}  // namespace

bool CompareCriteria::Counts(Field field) const {
  for (const CriterionInfo& criterion : kCriteriaBoxes) {
    if (criterion.field == field || criterion.second_field == field) return this->*criterion.ticked;
  }
  return true;  // Modified and Compiled have no box
}

std::string CriterionText(const CriterionInfo& criterion) {
  std::string text;
  for (const char c : criterion.caption) {
    if (c != '&') text += c;
  }
  return text;
}

std::string CriteriaText(const CompareCriteria& criteria, bool keyed) {
  std::string text;
  for (const CriterionInfo& criterion : kCriteriaBoxes) {
    // In a keyed comparison type and ID are the key, so they always count.
    const bool key = keyed && criterion.field == Field::kType;
    if (!key && !(criteria.*criterion.ticked)) continue;
    if (!text.empty()) text += ", ";
    text += CriterionText(criterion);
  }
  return text.empty() ? "nothing" : text;
}

bool SameType(const ObjectTable& table, const CompareCriteria& criteria, int i, int j) {
  return SameField(table, criteria, Field::kType, i, j);
}

bool SameID(const ObjectTable& table, const CompareCriteria& criteria, int i, int j) {
  return SameField(table, criteria, Field::kId, i, j);
}

bool SameName(const ObjectTable& table, const CompareCriteria& criteria, int i, int j) {
  return SameField(table, criteria, Field::kName, i, j);
}

bool SameModified(const ObjectTable& table, const CompareCriteria& criteria, int i, int j) {
  return SameField(table, criteria, Field::kModified, i, j);
}

bool SameVersion(const ObjectTable& table, const CompareCriteria& criteria, int i, int j) {
  return SameField(table, criteria, Field::kVersion, i, j);
}

bool SameDate(const ObjectTable& table, const CompareCriteria& criteria, int i, int j) {
  return SameField(table, criteria, Field::kDate, i, j);
}

bool SameTime(const ObjectTable& table, const CompareCriteria& criteria, int i, int j) {
  return SameField(table, criteria, Field::kTime, i, j);
}

bool SameBSize(const ObjectTable& table, const CompareCriteria& criteria, int i, int j) {
  return SameField(table, criteria, Field::kBlobSize, i, j);
}

bool SameCompiled(const ObjectTable& table, const CompareCriteria& criteria, int i, int j) {
  return SameField(table, criteria, Field::kCompiled, i, j);
}

bool ObjectsMatch(const ObjectTable& table, const CompareCriteria& criteria, int i, int j) {
  return SameID(table, criteria, i, j) && SameType(table, criteria, i, j) &&
         SameDate(table, criteria, i, j) && SameBSize(table, criteria, i, j) &&
         SameVersion(table, criteria, i, j) && SameModified(table, criteria, i, j) &&
         SameCompiled(table, criteria, i, j) && SameTime(table, criteria, i, j) &&
         SameName(table, criteria, i, j);
}

}  // namespace quillet
