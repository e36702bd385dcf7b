#pragma once
// The criteria tree of the grid filter: conditions on columns joined by AND / OR lists.
//
//   TqlCriteria                    owns the root list (always AND; NOT only if set in code)
//     TqlCriteriaItemList          boolean operator, children in order (owned)
//       TqlCriteriaItem            name, operator code, value, display text
//       TqlCriteriaItemList        ... nested
//   TqlDBGridCriteria              adds the case flag; its items are TqlDBGridCriteriaItem,
//                                  which remember the column their name resolved to
//
// Every node (TqlCustomCriteriaItem) carries a NOT flag and its parent list. Invariants, held
// by every mutation here and checked by CheckInvariants():
//   - each child's Parent() is the list that owns it; the root has no parent and knows its
//     criteria;
//   - an item's operator code is 0..5.
// A tidy tree (what the filter operations build) also has no non-root list with fewer than
// two children; trees read from a stream or built in code need not be tidy, and everything
// below copes with an empty or single-child list.
//
// Evaluation is three-valued, as the record-set layer's filter is: a comparison (codes 1..5)
// with a null or empty value on either side, or between values that cannot be compared, is
// unknown; NOT of unknown is unknown; AND / OR combine as in SQL. A row passes only when the
// whole tree is true, so the grid and a data set filtered by the rendered expression
// (criteria_render.h) keep the same rows. "Is Null" (code 0) is never unknown.
// A list whose children contribute nothing (no items below it) is left out, as the
// rendering leaves it out.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/variant.h"

class TqlCriteria;
class TqlCriteriaItem;
class TqlCriteriaItemList;
class TqlDBTreeListColumn;

// Result of a condition: three-valued, as in SQL.
enum class TqlTruth : uint8_t { False, True, Unknown };

// --- operators ---------------------------------------------------------------------------

// A comparison of a row's value with an item's operand. One shared instance per class,
// found by code with ByCode.
class TqlAbstractOperator {
 public:
  virtual ~TqlAbstractOperator() = default;
  virtual uint8_t Code() const = 0;
  virtual const char* Text() const = 0;  // "Is Null", "=", ">", "<", ">=", "<="
  // AValue: the row's value; AOperand: the item's value (ignored by "Is Null").
  virtual TqlTruth Evaluate(const Variant& AValue, const Variant& AOperand) const = 0;

  // The shared instance of code 0..5; nullptr for any other code.
  static const TqlAbstractOperator* ByCode(int ACode);
  static constexpr int kOperatorCount = 6;
};

// Code 0: true for null, empty and the empty string; never unknown.
class TqlNullOperator final : public TqlAbstractOperator {
 public:
  uint8_t Code() const override { return 0; }
  const char* Text() const override { return "Is Null"; }
  TqlTruth Evaluate(const Variant& AValue, const Variant& AOperand) const override;
};

// Codes 1..5: variant comparison of value and operand.
class TqlCompareOperator : public TqlAbstractOperator {
 public:
  TqlTruth Evaluate(const Variant& AValue, const Variant& AOperand) const override;

 protected:
  // Whether the comparison's three-way result (-1, 0, 1) satisfies the operator.
  virtual bool Holds(int compared) const = 0;
};

class TqlEqualOperator final : public TqlCompareOperator {
 public:
  uint8_t Code() const override { return 1; }
  const char* Text() const override { return "="; }
 protected:
  bool Holds(int c) const override { return c == 0; }
};

class TqlGreaterOperator final : public TqlCompareOperator {
 public:
  uint8_t Code() const override { return 2; }
  const char* Text() const override { return ">"; }
 protected:
  bool Holds(int c) const override { return c > 0; }
};

class TqlLessOperator final : public TqlCompareOperator {
 public:
  uint8_t Code() const override { return 3; }
  const char* Text() const override { return "<"; }
 protected:
  bool Holds(int c) const override { return c < 0; }
};

class TqlGreaterEqualOperator final : public TqlCompareOperator {
 public:
  uint8_t Code() const override { return 4; }
  const char* Text() const override { return ">="; }
 protected:
  bool Holds(int c) const override { return c >= 0; }
};

class TqlLessEqualOperator final : public TqlCompareOperator {
 public:
  uint8_t Code() const override { return 5; }
  const char* Text() const override { return "<="; }
 protected:
  bool Holds(int c) const override { return c <= 0; }
};

// Operator codes by meaning (the stream and the custom dialog use the numbers).
enum : uint8_t {
  kOperatorIsNull = 0, kOperatorEqual = 1, kOperatorGreater = 2, kOperatorLess = 3,
  kOperatorGreaterEqual = 4, kOperatorLessEqual = 5
};

// --- tree nodes --------------------------------------------------------------------------

// How a list joins its children (stored as a byte: 0 AND, 1 OR).
enum TqlBoolOperator : uint8_t { qboAnd = 0, qboOr = 1 };

class TqlCustomCriteriaItem {
 public:
  virtual ~TqlCustomCriteriaItem() = default;
  TqlCustomCriteriaItem(const TqlCustomCriteriaItem&) = delete;
  TqlCustomCriteriaItem& operator=(const TqlCustomCriteriaItem&) = delete;

  bool IsNot() const { return isNot_; }
  void SetIsNot(bool AValue) { isNot_ = AValue; }
  TqlCriteriaItemList* Parent() const { return parent_; }
  virtual bool IsList() const = 0;

 protected:
  TqlCustomCriteriaItem() = default;

 private:
  friend class TqlCriteriaItemList;
  TqlCriteriaItemList* parent_ = nullptr;  // owner; null for the root (and while detached)
  bool isNot_ = false;
};

class TqlCriteriaItemList final : public TqlCustomCriteriaItem {
 public:
  explicit TqlCriteriaItemList(TqlBoolOperator AOperator = qboAnd) : boolOperator_(AOperator) {}
  ~TqlCriteriaItemList() override;

  bool IsList() const override { return true; }
  TqlBoolOperator BoolOperator() const { return boolOperator_; }
  void SetBoolOperator(TqlBoolOperator AValue) { boolOperator_ = AValue; }

  int Count() const { return int(items_.size()); }
  TqlCustomCriteriaItem* Items(int AIndex) const { return items_[AIndex].get(); }
  int IndexOf(const TqlCustomCriteriaItem* AItem) const;  // -1 when not a child
  // The criteria that owns the tree this list belongs to (null for a detached list).
  TqlCriteria* Criteria() const;

  // New children at the end. Items are made by the owning criteria (CreateItem), so a grid's
  // criteria gets its own item class; AOperatorCode must be 0..5 (EInvalidOperation).
  TqlCriteriaItem* AddItem(std::string AName, uint8_t AOperatorCode, Variant AValue,
                           std::string ADisplayText, bool AIsNot = false);
  TqlCriteriaItemList* AddList(TqlBoolOperator AOperator, bool AIsNot = false);
  // Takes ownership of a detached node and appends it.
  void Append(std::unique_ptr<TqlCustomCriteriaItem> AItem);
  // Detaches a child and hands it over (null when AItem is not a child).
  std::unique_ptr<TqlCustomCriteriaItem> Extract(TqlCustomCriteriaItem* AItem);
  // Frees every child.
  void Clear();

 private:
  friend class TqlCriteria;
  TqlBoolOperator boolOperator_;
  std::vector<std::unique_ptr<TqlCustomCriteriaItem>> items_;  // in order; each item's parent_ is this
  TqlCriteria* criteria_ = nullptr;  // set on the root only
};

class TqlCriteriaItem : public TqlCustomCriteriaItem {
 public:
  // AOperatorCode must be 0..5 (EInvalidOperation).
  TqlCriteriaItem(std::string AName, uint8_t AOperatorCode, Variant AValue,
                  std::string ADisplayText);

  bool IsList() const override { return false; }
  const std::string& DisplayText() const { return displayText_; }
  void SetDisplayText(std::string AValue) { displayText_ = std::move(AValue); }
  // The column's component name ('qlGridBLFYColumn1'); compared exactly.
  const std::string& Name() const { return name_; }
  void SetName(std::string AValue) { name_ = std::move(AValue); }
  uint8_t OperatorCode() const { return operator_->Code(); }
  void SetOperatorCode(uint8_t AValue);
  const TqlAbstractOperator& Operator() const { return *operator_; }
  const Variant& Value() const { return value_; }
  void SetValue(Variant AValue) { value_ = std::move(AValue); }

 private:
  std::string displayText_;
  std::string name_;
  const TqlAbstractOperator* operator_;  // a shared instance, never null
  Variant value_;
};

// --- criteria ----------------------------------------------------------------------------

// What the filter keeps about one column (the drop-down preselects from it).
enum TqlFilterColumnState {
  fcsNone = 0,       // no condition
  fcsBlanks = 1,     // one top-level "Is Null"
  fcsNonBlanks = 2,  // one top-level negated "Is Null"
  fcsValue = 3,      // one top-level equality
  fcsCustom = 4,     // anything else
};

// The row's value for an item (the node's stored value for its column).
using TqlCriteriaValueGetter = std::function<Variant(const TqlCriteriaItem& AItem)>;

class TqlCriteria {
 public:
  TqlCriteria();
  virtual ~TqlCriteria();
  TqlCriteria(const TqlCriteria&) = delete;
  TqlCriteria& operator=(const TqlCriteria&) = delete;

  TqlCriteriaItemList& Root() { return root_; }
  const TqlCriteriaItemList& Root() const { return root_; }
  bool IsEmpty() const { return root_.Count() == 0; }

  // Empties the root and makes it AND, not negated.
  void Clear();
  // The item class of this criteria (TqlDBGridCriteria makes TqlDBGridCriteriaItem).
  virtual std::unique_ptr<TqlCriteriaItem> CreateItem(std::string AName, uint8_t AOperatorCode,
                                                      Variant AValue, std::string ADisplayText) const;
  // Whether strings are compared upper-cased.
  virtual bool CaseInsensitiveCompare() const { return false; }

  // --- the filter operations on one column (the caller re-applies the filter) ---
  // Removes every condition of AName, tidying the lists (see the .cpp).
  void RemoveItems(std::string_view AName);
  // The column's conditions replaced by one top-level equality.
  void SetValueItem(const std::string& AName, const Variant& AValue, const std::string& AText);
  // The column's conditions replaced by one top-level "Is Null" (negated: non-blanks).
  void SetBlanksItem(const std::string& AName, bool ANegated);
  // AValue receives the value for fcsValue and is cleared otherwise.
  TqlFilterColumnState ColumnState(std::string_view AName, Variant& AValue) const;
  // The first item of AName, depth first (null when there is none).
  TqlCriteriaItem* FindItem(std::string_view AName) const;
  bool HasItems(std::string_view AName) const { return FindItem(AName) != nullptr; }

  // Whether a row passes: the tree is true for it (a tree without items passes).
  bool Evaluate(const TqlCriteriaValueGetter& AGetValue) const;

  // Raises EInvalidOperation when a parent link or the root's owner is wrong.
  void CheckInvariants() const;

  // Calls AVisit for every item, depth first, in child order.
  void ForEachItem(const std::function<void(TqlCriteriaItem&)>& AVisit) const;

 private:
  TqlCriteriaItemList root_;
};

// --- the grid's criteria -----------------------------------------------------------------

class TqlDBGridCriteriaItem final : public TqlCriteriaItem {
 public:
  using TqlCriteriaItem::TqlCriteriaItem;
  // The column the name resolved to at the last ResolveColumns (non-owning; null when none).
  TqlDBTreeListColumn* Column() const { return column_; }
  void SetColumn(TqlDBTreeListColumn* AColumn) { column_ = AColumn; }

 private:
  TqlDBTreeListColumn* column_ = nullptr;
};

// Finds a grid's column by component name (null when there is none).
using TqlColumnResolver = std::function<TqlDBTreeListColumn*(const std::string& AName)>;

class TqlDBGridCriteria final : public TqlCriteria {
 public:
  bool CaseInsensitive() const { return caseInsensitive_; }
  void SetCaseInsensitive(bool AValue) { caseInsensitive_ = AValue; }
  bool CaseInsensitiveCompare() const override { return caseInsensitive_; }

  std::unique_ptr<TqlCriteriaItem> CreateItem(std::string AName, uint8_t AOperatorCode,
                                              Variant AValue, std::string ADisplayText) const override;
  // Sets every item's column from its name.
  void ResolveColumns(const TqlColumnResolver& AResolve);
  // Forgets a column that is going away (items keep their names).
  void ForgetColumn(const TqlDBTreeListColumn* AColumn);

 private:
  bool caseInsensitive_ = false;
};
