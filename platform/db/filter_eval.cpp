#include "platform/db/filter_eval.h"

#include <algorithm>
#include <iterator>

#include "platform/db/db_error.h"
#include "platform/db/like_pattern.h"
#include "platform/db/snapshot_index.h"

namespace {

// Rows (any order, no duplicates) to ascending order: a bitmap pass when they are many.
std::vector<uint32_t> sortedRows(std::span<const uint32_t> rows, uint32_t rowCount) {
  std::vector<uint32_t> out;
  out.reserve(rows.size());
  if (rows.size() > rowCount / 32 + 64) {
    std::vector<uint64_t> bits((rowCount + 63) / 64);
    for (uint32_t r : rows) bits[r >> 6] |= uint64_t(1) << (r & 63);
    for (size_t w = 0; w < bits.size(); ++w)
      for (uint64_t word = bits[w]; word; word &= word - 1)
        out.push_back(uint32_t(w * 64 + __builtin_ctzll(word)));
  } else {
    out.assign(rows.begin(), rows.end());
    std::sort(out.begin(), out.end());
  }
  return out;
}

// Integer, float and currency kinds: VarCompare orders any two of them by value.
bool isNumericKind(TVarType t) {
  switch (t) {
    case varShortInt: case varSmallint: case varInteger: case varInt64: case varByte:
    case varWord: case varLongWord: case varSingle: case varDouble: case varCurrency:
      return true;
    default:
      return false;
  }
}

bool isAllRows(const std::vector<uint32_t>& rows, uint32_t rowCount) {
  return rows.size() == rowCount;  // ascending and unique, so 0..rowCount-1
}

}  // namespace

std::vector<uint32_t> AllRows(uint32_t rowCount) {
  std::vector<uint32_t> rows(rowCount);
  for (uint32_t r = 0; r < rowCount; ++r) rows[r] = r;
  return rows;
}

TBoundExpression::TBoundExpression(const TExprNode& root, TSnapshotPtr snapshot,
                                   const std::vector<Variant>& parameterValues)
    : snapshot_(std::move(snapshot)) {
  size_t nextParam = 0;
  root_ = bind(root, parameterValues, nextParam, 1);
}

TBoundExpression::~TBoundExpression() = default;

TBoundExpression::Operand TBoundExpression::bindOperand(const TExprOperand& o,
                                                        const std::vector<Variant>& params,
                                                        size_t& nextParam) {
  Operand r;
  switch (o.Kind) {
    case TOperandKind::Field:
      r.column = snapshot_->FindColumn(o.Name);
      if (r.column < 0) throw EDatabaseError("Field '" + o.Name + "' not found");
      r.text = snapshot_->Column(r.column).IsText();
      break;
    case TOperandKind::Parameter:
      r.value = nextParam < params.size() ? params[nextParam] : Variant::Null();
      ++nextParam;
      break;
    case TOperandKind::Literal:
      r.value = o.Value;
      break;
  }
  return r;
}

void TBoundExpression::coerce(Operand& value, const Operand& other) {
  if (value.column >= 0 || value.value.IsClear()) return;
  if (other.column < 0) {  // two values: compare as they are, text if either is text
    value.text = value.value.IsString() && other.value.IsString();
    if (value.text) value.textValue = value.value.AsString();
    return;
  }
  const TSnapshotColumn& col = snapshot_->Column(other.column);
  if (col.IsText()) {
    value.text = true;
    value.textValue = value.value.AsString();
    return;
  }
  // A number meeting a numeric column is compared as it is: converting it to the column's
  // kind would round 1.5 to 2 for an integer column.
  if (value.value.IsNumeric() && isNumericKind(VarTypeOfFieldType(col.Def().DataType)))
    return;
  try {
    value.value = value.value.ChangeType(VarTypeOfFieldType(col.Def().DataType));
  } catch (const EVariantError&) {
    throw EDatabaseError("Type mismatch: '" + value.value.AsString() +
                         "' cannot be compared with field '" + col.Def().Name + "'");
  }
}

int TBoundExpression::bind(const TExprNode& n, const std::vector<Variant>& params,
                           size_t& nextParam, int depth) {
  if (depth > kMaxFilterTreeDepth)
    throw EDatabaseError("The filter expression is nested more than " + std::to_string(kMaxFilterNesting) +
                         " levels deep");
  Node node;
  node.kind = n.Kind;
  node.op = n.Op;
  node.negated = n.Negated;
  switch (n.Kind) {
    case TExprKind::And:
    case TExprKind::Or:
    case TExprKind::Not:
      if (n.Operands.empty() || (n.Kind == TExprKind::Not && n.Operands.size() != 1))
        throw EDatabaseError("The filter expression is incomplete");
      for (const TExprPtr& operand : n.Operands) node.operands.push_back(bind(*operand, params, nextParam, depth + 1));
      break;
    case TExprKind::IsNull:
      node.a = bindOperand(n.A, params, nextParam);
      break;
    case TExprKind::Compare:
      node.a = bindOperand(n.A, params, nextParam);
      node.b = bindOperand(n.B, params, nextParam);
      coerce(node.a, node.b);
      coerce(node.b, node.a);
      break;
    case TExprKind::Like:
      node.a = bindOperand(n.A, params, nextParam);
      node.b = bindOperand(n.B, params, nextParam);
      if (node.b.column >= 0) throw EDatabaseError("LIKE needs a text pattern, not a field");
      if (!node.b.value.IsClear()) node.like = std::make_unique<TLikePattern>(node.b.value.AsString());
      break;
  }
  nodes_.push_back(std::move(node));
  return int(nodes_.size() - 1);
}

TBoundExpression::Tri TBoundExpression::compare(const Node& n, uint32_t rowIndex) const {
  const Operand& a = n.a;
  const Operand& b = n.b;
  int c;
  if (a.text && b.text) {
    std::string_view va, vb;
    if (a.column >= 0) {
      const TSnapshotColumn& col = snapshot_->Column(a.column);
      if (col.IsNull(rowIndex)) return kUnknown;
      va = col.Text(rowIndex);
    } else {
      va = a.textValue;
    }
    if (b.column >= 0) {
      const TSnapshotColumn& col = snapshot_->Column(b.column);
      if (col.IsNull(rowIndex)) return kUnknown;
      vb = col.Text(rowIndex);
    } else {
      vb = b.textValue;
    }
    int r = va.compare(vb);
    c = r < 0 ? -1 : r > 0 ? 1 : 0;
  } else {
    Variant va = a.column >= 0 ? snapshot_->Column(a.column).Value(rowIndex) : a.value;
    Variant vb = b.column >= 0 ? snapshot_->Column(b.column).Value(rowIndex) : b.value;
    if (va.IsClear() || vb.IsClear()) return kUnknown;
    try {
      c = VarCompare(va, vb);
    } catch (const EVariantError&) {
      return kUnknown;
    }
  }
  bool r = false;
  switch (n.op) {
    case TCompareOp::Equal: r = c == 0; break;
    case TCompareOp::NotEqual: r = c != 0; break;
    case TCompareOp::Less: r = c < 0; break;
    case TCompareOp::Greater: r = c > 0; break;
    case TCompareOp::LessEqual: r = c <= 0; break;
    case TCompareOp::GreaterEqual: r = c >= 0; break;
  }
  return r ? kTrue : kFalse;
}

TBoundExpression::Tri TBoundExpression::eval(int index, uint32_t rowIndex) const {
  const Node& n = nodes_[index];
  switch (n.kind) {
    case TExprKind::And:
    case TExprKind::Or: {
      // AND: false decides, OR: true decides; otherwise any unknown makes the whole unknown.
      const Tri decisive = n.kind == TExprKind::And ? kFalse : kTrue;
      Tri result = n.kind == TExprKind::And ? kTrue : kFalse;
      for (int operand : n.operands) {
        const Tri t = eval(operand, rowIndex);
        if (t == decisive) return decisive;
        if (t == kUnknown) result = kUnknown;
      }
      return result;
    }
    case TExprKind::Not: {
      Tri l = eval(n.operands[0], rowIndex);
      return l == kUnknown ? kUnknown : l == kTrue ? kFalse : kTrue;
    }
    case TExprKind::IsNull: {
      bool blank;
      if (n.a.column >= 0) {
        const TSnapshotColumn& col = snapshot_->Column(n.a.column);
        blank = col.IsNull(rowIndex) || (col.IsText() && col.Text(rowIndex).empty());
      } else {
        blank = n.a.value.IsClear() || (n.a.value.IsString() && n.a.value.StringRef().empty());
      }
      return blank != n.negated ? kTrue : kFalse;
    }
    case TExprKind::Like: {
      if (!n.like) return kUnknown;
      bool match;
      if (n.a.column >= 0) {
        const TSnapshotColumn& col = snapshot_->Column(n.a.column);
        if (col.IsNull(rowIndex)) return kUnknown;
        match = col.IsText() ? n.like->Matches(col.Text(rowIndex))
                             : n.like->Matches(col.Value(rowIndex).AsString());
      } else {
        if (n.a.value.IsClear()) return kUnknown;
        match = n.like->Matches(n.a.value.AsString());
      }
      return match != n.negated ? kTrue : kFalse;
    }
    case TExprKind::Compare:
      return compare(n, rowIndex);
  }
  return kUnknown;
}

bool TBoundExpression::Test(uint32_t rowIndex) const { return eval(root_, rowIndex) == kTrue; }

std::optional<std::vector<uint32_t>> TBoundExpression::plan(int index) const {
  const Node& n = nodes_[index];
  const uint32_t rowCount = snapshot_->RowCount();
  switch (n.kind) {
    case TExprKind::Compare: {
      if (n.op != TCompareOp::Equal) return std::nullopt;
      const Operand* field = n.a.column >= 0 ? &n.a : n.b.column >= 0 ? &n.b : nullptr;
      const Operand* value = n.a.column >= 0 ? &n.b : &n.a;
      if (!field || value->column >= 0 || !field->text) return std::nullopt;
      if (value->value.IsClear()) return std::vector<uint32_t>();  // = null: never true
      const TSnapshotColumn& col = snapshot_->Column(field->column);
      auto run = snapshot_->SortedIndex(field->column).EqualRun(LikeKey(value->textValue));
      std::vector<uint32_t> rows;
      for (uint32_t r : run)  // the run ignores case; equality does not
        if (col.Text(r) == value->textValue) rows.push_back(r);
      return rows;
    }
    case TExprKind::Like: {
      if (n.negated || n.a.column < 0 || !n.a.text) return std::nullopt;
      if (!n.like) return std::vector<uint32_t>();
      if (!n.like->IsPrefixOnly()) return std::nullopt;
      auto run = snapshot_->SortedIndex(n.a.column).PrefixRun(n.like->FoldedPrefix());
      return sortedRows(run, rowCount);
    }
    case TExprKind::And: {
      // The indexed operands' rows intersected, then tested against the other operands.
      std::optional<std::vector<uint32_t>> rows;
      std::vector<int> unplanned;
      for (int operand : n.operands) {
        auto planned = plan(operand);
        if (!planned) {
          unplanned.push_back(operand);
        } else if (!rows) {
          rows = std::move(planned);
        } else {
          std::vector<uint32_t> both;
          std::set_intersection(rows->begin(), rows->end(), planned->begin(), planned->end(),
                                std::back_inserter(both));
          *rows = std::move(both);
        }
      }
      if (!rows) return std::nullopt;
      std::erase_if(*rows, [&](uint32_t row) {
        return std::any_of(unplanned.begin(), unplanned.end(), [&](int other) { return eval(other, row) != kTrue; });
      });
      return rows;
    }
    case TExprKind::Or: {
      // All operands indexed: their rows together, once each, in order.
      std::vector<uint32_t> either;
      for (int operand : n.operands) {
        auto planned = plan(operand);
        if (!planned) return std::nullopt;
        either.insert(either.end(), planned->begin(), planned->end());
      }
      std::sort(either.begin(), either.end());
      either.erase(std::unique(either.begin(), either.end()), either.end());
      return either;
    }
    default:
      return std::nullopt;
  }
}

std::vector<uint32_t> TBoundExpression::Select(const std::vector<uint32_t>& baseRows) const {
  if (auto planned = plan(root_)) {
    if (isAllRows(baseRows, snapshot_->RowCount())) return std::move(*planned);
    std::vector<uint32_t> out;
    std::set_intersection(planned->begin(), planned->end(), baseRows.begin(), baseRows.end(),
                          std::back_inserter(out));
    return out;
  }
  std::vector<uint32_t> out;
  for (uint32_t r : baseRows)
    if (eval(root_, r) == kTrue) out.push_back(r);
  return out;
}

std::vector<uint32_t> TBoundExpression::SelectAll() const {
  if (auto planned = plan(root_)) return std::move(*planned);
  std::vector<uint32_t> out;
  for (uint32_t r = 0, n = snapshot_->RowCount(); r < n; ++r)
    if (eval(root_, r) == kTrue) out.push_back(r);
  return out;
}
