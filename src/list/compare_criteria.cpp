#include "list/compare_criteria.h"

#include "list/columns.h"

namespace quillet {
namespace {

bool SameField(const ObjectTable& table, const CompareCriteria& criteria, Field field, int i,
               int j) {
  return !criteria.Counts(field) || table.Read(1, i, field) == table.Read(2, j, field);
}

}  // namespace

bool CompareCriteria::Counts(Field field) const {
  switch (field) {
    case Field::kType:
    case Field::kId:
      return use_type_id;
    case Field::kName:
      return use_name;
    case Field::kVersion:
      return use_version;
    case Field::kDate:
      return use_date;
    case Field::kTime:
      return use_time;
    case Field::kBlobSize:
      return use_bsize;
    case Field::kModified:
    case Field::kCompiled:
      break;
  }
  return true;
}

std::string CriteriaText(const CompareCriteria& criteria, bool keyed) {
  std::string text;
  const auto add = [&](bool ticked, std::string_view name) {
    if (!ticked) return;
    if (!text.empty()) text += ", ";
    text += name;
  };
  // The fields by their columns' headers.
  const auto header = [](Field field) { return Info(ColumnOf(field)).header; };
  add(keyed || criteria.use_type_id, "Type and ID");
  add(criteria.use_name, header(Field::kName));
  add(criteria.use_version, header(Field::kVersion));
  add(criteria.use_date, header(Field::kDate));
  add(criteria.use_time, header(Field::kTime));
  add(criteria.use_bsize, header(Field::kBlobSize));
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
