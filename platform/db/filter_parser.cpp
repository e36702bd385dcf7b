#include "platform/db/filter_parser.h"

#include <cctype>
#include <charconv>

#include "platform/core/utf8.h"
#include "platform/db/db_error.h"

namespace {

enum class Tok { End, Ident, Bracketed, String, Number, Date, Param, LParen, RParen, Op, Minus };

struct Token {
  Tok Kind = Tok::End;
  std::string Text;  // identifier, bracketed name, string value, number text, date text, op
  size_t Pos = 0;    // byte offset
};

bool isIdentStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool isIdentPart(unsigned char c) { return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80; }

class Parser {
 public:
  Parser(std::string_view text, TExprParseOptions options) : text_(text), options_(options) {}

  TExprPtr Run() {
    advance();
    if (tok_.Kind == Tok::End) fail("the expression is empty", 0);
    TExprPtr e = parseOr();
    if (tok_.Kind != Tok::End) fail("unexpected \"" + tok_.Text + "\"", tok_.Pos);
    return e;
  }

 private:
  [[noreturn]] void fail(const std::string& what, size_t bytePos) const {
    size_t charPos = Utf8Length(text_.substr(0, std::min(bytePos, text_.size()))) + 1;
    // A text set in code can be huge; the message quotes its start.
    constexpr size_t kQuotedCharacters = 200;
    std::string quoted = Utf8Left(text_, kQuotedCharacters);
    if (quoted.size() < text_.size()) quoted += "...";
    throw EDatabaseError("Invalid filter expression \"" + quoted + "\": " + what + " at position " +
                         std::to_string(charPos));
  }

  // Entered for each parenthesis and NOT, left when it is parsed: text nested deeper than
  // kMaxFilterNesting is refused before the recursion could exhaust the stack.
  class TNestingLevel {
   public:
    explicit TNestingLevel(Parser& parser) : parser_(parser) {
      if (++parser_.nesting_ > kMaxFilterNesting)
        parser_.fail("nested more than " + std::to_string(kMaxFilterNesting) + " levels deep", parser_.tok_.Pos);
    }
    ~TNestingLevel() { --parser_.nesting_; }
    TNestingLevel(const TNestingLevel&) = delete;
    TNestingLevel& operator=(const TNestingLevel&) = delete;

   private:
    Parser& parser_;
  };

  static std::string upper(std::string_view s) { return AnsiUpperCase(s); }
  bool isKeyword(const char* kw) const { return tok_.Kind == Tok::Ident && upper(tok_.Text) == kw; }

  void advance() { tok_ = lex(); }

  Token lex() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    Token t;
    t.Pos = pos_;
    if (pos_ >= text_.size()) return t;
    unsigned char c = static_cast<unsigned char>(text_[pos_]);
    if (c == '(') { ++pos_; t.Kind = Tok::LParen; t.Text = "("; return t; }
    if (c == ')') { ++pos_; t.Kind = Tok::RParen; t.Text = ")"; return t; }
    if (c == '\'' || c == '"') return lexString(char(c));
    if (c == '[') {
      size_t close = text_.find(']', pos_ + 1);
      if (close == std::string_view::npos) fail("missing ] after field name", pos_);
      t.Kind = Tok::Bracketed;
      t.Text = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
      if (t.Text.empty()) fail("empty field name", pos_);
      pos_ = close + 1;
      return t;
    }
    if (c == '#') {
      size_t close = text_.find('#', pos_ + 1);
      if (close == std::string_view::npos) fail("missing # after date", pos_);
      t.Kind = Tok::Date;
      t.Text = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
      pos_ = close + 1;
      return t;
    }
    if (c == ':' && pos_ + 1 < text_.size() &&
        isIdentStart(static_cast<unsigned char>(text_[pos_ + 1]))) {
      size_t start = ++pos_;
      while (pos_ < text_.size() && isIdentPart(static_cast<unsigned char>(text_[pos_]))) ++pos_;
      t.Kind = Tok::Param;
      t.Text = std::string(text_.substr(start, pos_ - start));
      return t;
    }
    if (std::isdigit(c) || (c == '.' && pos_ + 1 < text_.size() &&
                            std::isdigit(static_cast<unsigned char>(text_[pos_ + 1])))) {
      size_t start = pos_;
      while (pos_ < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[pos_])) ||
                                     text_[pos_] == '.'))
        ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
        size_t save = pos_++;
        if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
        if (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
          while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        } else {
          pos_ = save;
        }
      }
      t.Kind = Tok::Number;
      t.Text = std::string(text_.substr(start, pos_ - start));
      if (pos_ < text_.size() && isIdentStart(static_cast<unsigned char>(text_[pos_])))
        fail("malformed number", start);
      return t;
    }
    if (isIdentStart(c)) {
      size_t start = pos_;
      while (pos_ < text_.size() && isIdentPart(static_cast<unsigned char>(text_[pos_]))) ++pos_;
      t.Kind = Tok::Ident;
      t.Text = std::string(text_.substr(start, pos_ - start));
      return t;
    }
    if (c == '-') { ++pos_; t.Kind = Tok::Minus; t.Text = "-"; return t; }
    static const char* ops[] = {"<>", "!=", "<=", ">=", "=", "<", ">"};
    for (const char* op : ops) {
      std::string_view sv(op);
      if (text_.substr(pos_, sv.size()) == sv) {
        pos_ += sv.size();
        t.Kind = Tok::Op;
        t.Text = op;
        return t;
      }
    }
    fail(std::string("unexpected character \"") + std::string(text_.substr(pos_, 1)) + "\"", pos_);
  }

  Token lexString(char quote) {
    Token t;
    t.Pos = pos_;
    t.Kind = Tok::String;
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size()) fail("unterminated string", t.Pos);
      char c = text_[pos_++];
      if (c == quote) {
        if (pos_ < text_.size() && text_[pos_] == quote) {  // doubled quote: one quote
          t.Text.push_back(quote);
          ++pos_;
          continue;
        }
        return t;
      }
      t.Text.push_back(c);
    }
  }

  // A chain "a OR b OR c" (or of ANDs) is read in a loop into one node with every operand.
  TExprPtr parseChain(TExprKind kind, const char* keyword, TExprPtr (Parser::*readOperand)()) {
    TExprPtr first = (this->*readOperand)();
    if (!isKeyword(keyword)) return first;
    auto node = std::make_unique<TExprNode>();
    node->Kind = kind;
    node->Operands.push_back(std::move(first));
    while (isKeyword(keyword)) {
      advance();
      node->Operands.push_back((this->*readOperand)());
    }
    return node;
  }

  TExprPtr parseOr() { return parseChain(TExprKind::Or, "OR", &Parser::parseAnd); }
  TExprPtr parseAnd() { return parseChain(TExprKind::And, "AND", &Parser::parseFactor); }

  TExprPtr parseFactor() {
    if (isKeyword("NOT")) {
      TNestingLevel level(*this);
      advance();
      auto node = std::make_unique<TExprNode>();
      node->Kind = TExprKind::Not;
      node->Operands.push_back(parseFactor());
      return node;
    }
    if (tok_.Kind == Tok::LParen) {
      TNestingLevel level(*this);
      size_t open = tok_.Pos;
      advance();
      TExprPtr inner = parseOr();
      if (tok_.Kind != Tok::RParen) fail("missing ) for the ( at position " +
                                             std::to_string(Utf8Length(text_.substr(0, open)) + 1),
                                         tok_.Pos);
      advance();
      return inner;
    }
    return parsePredicate();
  }

  TExprPtr parsePredicate() {
    auto node = std::make_unique<TExprNode>();
    node->A = parseOperand();
    if (tok_.Kind == Tok::Op) {
      const std::string& op = tok_.Text;
      node->Kind = TExprKind::Compare;
      node->Op = op == "=" ? TCompareOp::Equal
                 : op == "<>" || op == "!=" ? TCompareOp::NotEqual
                 : op == "<" ? TCompareOp::Less
                 : op == ">" ? TCompareOp::Greater
                 : op == "<=" ? TCompareOp::LessEqual
                             : TCompareOp::GreaterEqual;
      advance();
      node->B = parseOperand();
      return node;
    }
    if (isKeyword("NOT") || isKeyword("LIKE")) {
      if (isKeyword("NOT")) {
        node->Negated = true;
        advance();
        if (!isKeyword("LIKE")) fail("LIKE expected after NOT", tok_.Pos);
      }
      advance();
      node->Kind = TExprKind::Like;
      node->B = parseOperand();
      if (node->B.Kind == TOperandKind::Literal && !node->B.Value.IsString())
        fail("LIKE needs a text pattern", node->B.Position);
      return node;
    }
    if (isKeyword("IS")) {
      advance();
      if (isKeyword("NOT")) {
        node->Negated = true;
        advance();
      }
      if (!isKeyword("NULL")) fail("NULL expected after IS", tok_.Pos);
      advance();
      node->Kind = TExprKind::IsNull;
      return node;
    }
    if (tok_.Kind == Tok::End) fail("a comparison is incomplete", tok_.Pos);
    fail("comparison operator expected before \"" + tok_.Text + "\"", tok_.Pos);
  }

  TExprOperand parseOperand() {
    TExprOperand o;
    o.Position = tok_.Pos;
    switch (tok_.Kind) {
      case Tok::String:
        o.Value = Variant(tok_.Text);
        break;
      case Tok::Minus: {
        advance();
        if (tok_.Kind != Tok::Number) fail("number expected after -", tok_.Pos);
        o = parseOperand();
        o.Value = o.Value.VarType() == varDouble ? Variant(-o.Value.AsDouble())
                                                 : Variant(-o.Value.AsInt64());
        o.Position = o.Position - 1;
        return o;
      }
      case Tok::Number: {
        // Digits only: a 64-bit integer when it fits, else a double.
        double d;
        int64_t i;
        const char* first = tok_.Text.data();
        const char* last = first + tok_.Text.size();
        if (tok_.Text.find_first_of(".eE") == std::string::npos &&
            std::from_chars(first, last, i).ec == std::errc())
          o.Value = Variant(i);
        else if (TryStrToFloat(tok_.Text, d))
          o.Value = Variant(d);
        else
          fail("malformed number", tok_.Pos);
        break;
      }
      case Tok::Date: {
        auto d = TryStrToDateTime(tok_.Text);
        if (!d) fail("invalid date #" + tok_.Text + "#", tok_.Pos);
        o.Value = Variant::Date(*d);
        break;
      }
      case Tok::Param:
        if (!options_.AllowParameters) fail("parameters are not allowed here", tok_.Pos);
        o.Kind = TOperandKind::Parameter;
        o.Name = tok_.Text;
        break;
      case Tok::Bracketed:
        o.Kind = TOperandKind::Field;
        o.Name = tok_.Text;
        break;
      case Tok::Ident: {
        std::string kw = upper(tok_.Text);
        if (kw == "NULL") {
          o.Value = Variant::Null();
        } else if (kw == "TRUE" || kw == "FALSE") {
          o.Value = Variant(kw == "TRUE");
        } else if (kw == "AND" || kw == "OR" || kw == "NOT" || kw == "LIKE" || kw == "IS") {
          fail("field name or value expected before " + kw, tok_.Pos);
        } else {
          o.Kind = TOperandKind::Field;
          o.Name = tok_.Text;
        }
        break;
      }
      case Tok::End:
        fail("the expression ends too early", tok_.Pos);
      default:
        fail("field name or value expected before \"" + tok_.Text + "\"", tok_.Pos);
    }
    advance();
    return o;
  }

  std::string_view text_;
  TExprParseOptions options_;
  size_t pos_ = 0;
  Token tok_;
  int nesting_ = 0;  // parentheses and NOTs open around the current token
};

void collect(const TExprNode& n, std::vector<const TExprOperand*>& out) {
  switch (n.Kind) {
    case TExprKind::And: case TExprKind::Or: case TExprKind::Not:
      for (const TExprPtr& operand : n.Operands) collect(*operand, out);
      break;
    default:
      if (n.A.Kind == TOperandKind::Parameter) out.push_back(&n.A);
      if (n.Kind != TExprKind::IsNull && n.B.Kind == TOperandKind::Parameter) out.push_back(&n.B);
  }
}

}  // namespace

TExprPtr ParseFilterExpression(std::string_view text, TExprParseOptions options) {
  return Parser(text, options).Run();
}

std::vector<const TExprOperand*> CollectParameters(const TExprNode& root) {
  std::vector<const TExprOperand*> out;
  collect(root, out);
  return out;
}
