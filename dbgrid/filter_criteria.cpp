#include "dbgrid/filter_criteria.h"

#include <optional>

#include "platform/core/utf8_case.h"

// --- operators ---------------------------------------------------------------------------

namespace {

const TqlNullOperator kNullOperator;
const TqlEqualOperator kEqualOperator;
const TqlGreaterOperator kGreaterOperator;
const TqlLessOperator kLessOperator;
const TqlGreaterEqualOperator kGreaterEqualOperator;
const TqlLessEqualOperator kLessEqualOperator;

const TqlAbstractOperator* const kOperators[TqlAbstractOperator::kOperatorCount] = {
    &kNullOperator, &kEqualOperator, &kGreaterOperator,
    &kLessOperator, &kGreaterEqualOperator, &kLessEqualOperator};

const TqlAbstractOperator* checkedOperator(int code) {
  const TqlAbstractOperator* op = TqlAbstractOperator::ByCode(code);
  if (!op) throw EInvalidOperation("Invalid filter operator code " + std::to_string(code));
  return op;
}

TqlTruth invert(TqlTruth t) {
  return t == TqlTruth::True ? TqlTruth::False : t == TqlTruth::False ? TqlTruth::True : t;
}

// AND: false decides; OR: true decides; otherwise unknown wins over the other value.
TqlTruth combine(TqlTruth a, TqlTruth b, TqlBoolOperator op) {
  const TqlTruth decisive = op == qboAnd ? TqlTruth::False : TqlTruth::True;
  if (a == decisive || b == decisive) return decisive;
  if (a == TqlTruth::Unknown || b == TqlTruth::Unknown) return TqlTruth::Unknown;
  return a;
}

Variant upperCased(const Variant& v) {
  if (!v.IsString() || IsUtf8UpperCaseInvariant(v.StringRef())) return v;
  return Variant(Utf8UpperCase(v.StringRef()));
}

}  // namespace

const TqlAbstractOperator* TqlAbstractOperator::ByCode(int ACode) {
  return ACode >= 0 && ACode < kOperatorCount ? kOperators[ACode] : nullptr;
}

TqlTruth TqlNullOperator::Evaluate(const Variant& AValue, const Variant&) const {
  bool blank = AValue.IsClear() || (AValue.IsString() && AValue.StringRef().empty());
  return blank ? TqlTruth::True : TqlTruth::False;
}

TqlTruth TqlCompareOperator::Evaluate(const Variant& AValue, const Variant& AOperand) const {
  if (AValue.IsClear() || AOperand.IsClear()) return TqlTruth::Unknown;
  try {
    return Holds(VarCompare(AValue, AOperand)) ? TqlTruth::True : TqlTruth::False;
  } catch (const EVariantError&) {
    return TqlTruth::Unknown;
  }
}

// --- lists and items ---------------------------------------------------------------------

TqlCriteriaItemList::~TqlCriteriaItemList() = default;

int TqlCriteriaItemList::IndexOf(const TqlCustomCriteriaItem* AItem) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == AItem) return int(i);
  return -1;
}

TqlCriteria* TqlCriteriaItemList::Criteria() const {
  const TqlCriteriaItemList* list = this;
  while (list->Parent()) list = list->Parent();
  return list->criteria_;
}

TqlCriteriaItem* TqlCriteriaItemList::AddItem(std::string AName, uint8_t AOperatorCode,
                                              Variant AValue, std::string ADisplayText,
                                              bool AIsNot) {
  checkedOperator(AOperatorCode);
  std::unique_ptr<TqlCriteriaItem> item;
  if (const TqlCriteria* criteria = Criteria())
    item = criteria->CreateItem(std::move(AName), AOperatorCode, std::move(AValue), std::move(ADisplayText));
  else
    item = std::make_unique<TqlCriteriaItem>(std::move(AName), AOperatorCode, std::move(AValue),
                                             std::move(ADisplayText));
  item->SetIsNot(AIsNot);
  TqlCriteriaItem* result = item.get();
  Append(std::move(item));
  return result;
}

TqlCriteriaItemList* TqlCriteriaItemList::AddList(TqlBoolOperator AOperator, bool AIsNot) {
  auto list = std::make_unique<TqlCriteriaItemList>(AOperator);
  list->SetIsNot(AIsNot);
  TqlCriteriaItemList* result = list.get();
  Append(std::move(list));
  return result;
}

void TqlCriteriaItemList::Append(std::unique_ptr<TqlCustomCriteriaItem> AItem) {
  if (!AItem) return;
  AItem->parent_ = this;
  items_.push_back(std::move(AItem));
}

std::unique_ptr<TqlCustomCriteriaItem> TqlCriteriaItemList::Extract(TqlCustomCriteriaItem* AItem) {
  int index = IndexOf(AItem);
  if (index < 0) return nullptr;
  std::unique_ptr<TqlCustomCriteriaItem> item = std::move(items_[index]);
  items_.erase(items_.begin() + index);
  item->parent_ = nullptr;
  return item;
}

void TqlCriteriaItemList::Clear() { items_.clear(); }

TqlCriteriaItem::TqlCriteriaItem(std::string AName, uint8_t AOperatorCode, Variant AValue,
                                 std::string ADisplayText)
    : displayText_(std::move(ADisplayText)),
      name_(std::move(AName)),
      operator_(checkedOperator(AOperatorCode)),
      value_(std::move(AValue)) {}

void TqlCriteriaItem::SetOperatorCode(uint8_t AValue) { operator_ = checkedOperator(AValue); }

// --- criteria ----------------------------------------------------------------------------

TqlCriteria::TqlCriteria() { root_.criteria_ = this; }

TqlCriteria::~TqlCriteria() = default;

void TqlCriteria::Clear() {
  root_.Clear();
  root_.SetBoolOperator(qboAnd);
  root_.SetIsNot(false);
}

std::unique_ptr<TqlCriteriaItem> TqlCriteria::CreateItem(std::string AName, uint8_t AOperatorCode,
                                                         Variant AValue, std::string ADisplayText) const {
  return std::make_unique<TqlCriteriaItem>(std::move(AName), AOperatorCode, std::move(AValue),
                                           std::move(ADisplayText));
}

namespace {

TqlCriteriaItem* findItem(const TqlCriteriaItemList& list, std::string_view name) {
  for (int i = 0; i < list.Count(); ++i) {
    TqlCustomCriteriaItem* child = list.Items(i);
    if (child->IsList()) {
      if (TqlCriteriaItem* found = findItem(static_cast<const TqlCriteriaItemList&>(*child), name))
        return found;
    } else if (static_cast<TqlCriteriaItem*>(child)->Name() == name) {
      return static_cast<TqlCriteriaItem*>(child);
    }
  }
  return nullptr;
}

void forEachItem(const TqlCriteriaItemList& list, const std::function<void(TqlCriteriaItem&)>& visit) {
  for (int i = 0; i < list.Count(); ++i) {
    TqlCustomCriteriaItem* child = list.Items(i);
    if (child->IsList())
      forEachItem(static_cast<const TqlCriteriaItemList&>(*child), visit);
    else
      visit(static_cast<TqlCriteriaItem&>(*child));
  }
}

}  // namespace

TqlCriteriaItem* TqlCriteria::FindItem(std::string_view AName) const { return findItem(root_, AName); }

void TqlCriteria::ForEachItem(const std::function<void(TqlCriteriaItem&)>& AVisit) const {
  forEachItem(root_, AVisit);
}

// Removing one item, then tidying its list, bottom up:
//   - a non-root list left empty is freed, and its parent is tidied in turn;
//   - a non-root list left with one child is replaced by that child, which goes to the end
//     of the parent's children. The list's NOT flag passes to the child (NOT (A OR B) less A
//     is NOT B), so a negated list keeps its meaning for what remains.
// A tidy tree never needs the second round: its lists have two children or more.
void TqlCriteria::RemoveItems(std::string_view AName) {
  while (TqlCriteriaItem* item = FindItem(AName)) {
    TqlCriteriaItemList* list = item->Parent();
    list->Extract(item);  // freed here
    while (list != &root_) {
      TqlCriteriaItemList* parent = list->Parent();
      if (list->Count() == 0) {
        parent->Extract(list);
        list = parent;
        continue;
      }
      if (list->Count() == 1) {
        std::unique_ptr<TqlCustomCriteriaItem> child = list->Extract(list->Items(0));
        child->SetIsNot(child->IsNot() != list->IsNot());
        parent->Extract(list);
        parent->Append(std::move(child));
      }
      break;
    }
  }
}

void TqlCriteria::SetValueItem(const std::string& AName, const Variant& AValue, const std::string& AText) {
  RemoveItems(AName);
  root_.AddItem(AName, kOperatorEqual, AValue, AText);
}

void TqlCriteria::SetBlanksItem(const std::string& AName, bool ANegated) {
  RemoveItems(AName);
  root_.AddItem(AName, kOperatorIsNull, Variant::Null(), std::string(), ANegated);
}

TqlFilterColumnState TqlCriteria::ColumnState(std::string_view AName, Variant& AValue) const {
  AValue = Variant();
  int count = 0;
  const TqlCriteriaItem* first = nullptr;
  forEachItem(root_, [&](TqlCriteriaItem& item) {
    if (item.Name() != AName) return;
    if (!first) first = &item;
    ++count;
  });
  if (count == 0) return fcsNone;
  if (count > 1 || first->Parent() != &root_) return fcsCustom;
  if (first->OperatorCode() == kOperatorIsNull) return first->IsNot() ? fcsNonBlanks : fcsBlanks;
  if (first->OperatorCode() == kOperatorEqual && !first->IsNot()) {
    AValue = first->Value();
    return fcsValue;
  }
  return fcsCustom;
}

namespace {

struct Evaluation {
  const TqlCriteriaValueGetter& getValue;
  bool caseInsensitive;

  // nullopt: the node holds no item and adds nothing to its list.
  std::optional<TqlTruth> node(const TqlCustomCriteriaItem& n) const {
    std::optional<TqlTruth> result;
    if (n.IsList()) {
      const auto& list = static_cast<const TqlCriteriaItemList&>(n);
      // The first child's result as it is, each further one combined with the result so far.
      for (int i = 0; i < list.Count(); ++i) {
        std::optional<TqlTruth> child = node(*list.Items(i));
        if (!child) continue;
        result = result ? combine(*result, *child, list.BoolOperator()) : *child;
      }
      if (!result) return std::nullopt;
    } else {
      result = item(static_cast<const TqlCriteriaItem&>(n));
    }
    return n.IsNot() ? invert(*result) : *result;
  }

  TqlTruth item(const TqlCriteriaItem& it) const {
    Variant value = getValue(it);
    if (value.VarType() == varCurrency) value = Variant(value.AsDouble());
    if (!caseInsensitive) return it.Operator().Evaluate(value, it.Value());
    return it.Operator().Evaluate(upperCased(value), upperCased(it.Value()));
  }
};

void checkList(const TqlCriteriaItemList& list) {
  for (int i = 0; i < list.Count(); ++i) {
    const TqlCustomCriteriaItem* child = list.Items(i);
    if (!child || child->Parent() != &list)
      throw EInvalidOperation("Criteria: a child does not name its list as its parent");
    if (child->IsList()) {
      checkList(static_cast<const TqlCriteriaItemList&>(*child));
    } else {
      const auto* item = static_cast<const TqlCriteriaItem*>(child);
      if (TqlAbstractOperator::ByCode(item->OperatorCode()) != &item->Operator())
        throw EInvalidOperation("Criteria: an item's operator is not the shared instance");
    }
  }
}

}  // namespace

bool TqlCriteria::Evaluate(const TqlCriteriaValueGetter& AGetValue) const {
  std::optional<TqlTruth> t = Evaluation{AGetValue, CaseInsensitiveCompare()}.node(root_);
  return !t || *t == TqlTruth::True;
}

void TqlCriteria::CheckInvariants() const {
  if (root_.Parent() || root_.Criteria() != this)
    throw EInvalidOperation("Criteria: the root is not owned by its criteria");
  checkList(root_);
}

// --- the grid's criteria -----------------------------------------------------------------

std::unique_ptr<TqlCriteriaItem> TqlDBGridCriteria::CreateItem(std::string AName, uint8_t AOperatorCode,
                                                               Variant AValue,
                                                               std::string ADisplayText) const {
  return std::make_unique<TqlDBGridCriteriaItem>(std::move(AName), AOperatorCode, std::move(AValue),
                                                 std::move(ADisplayText));
}

void TqlDBGridCriteria::ResolveColumns(const TqlColumnResolver& AResolve) {
  ForEachItem([&](TqlCriteriaItem& item) {
    if (auto* gridItem = dynamic_cast<TqlDBGridCriteriaItem*>(&item))
      gridItem->SetColumn(AResolve ? AResolve(gridItem->Name()) : nullptr);
  });
}

void TqlDBGridCriteria::ForgetColumn(const TqlDBTreeListColumn* AColumn) {
  ForEachItem([&](TqlCriteriaItem& item) {
    if (auto* gridItem = dynamic_cast<TqlDBGridCriteriaItem*>(&item))
      if (gridItem->Column() == AColumn) gridItem->SetColumn(nullptr);
  });
}
