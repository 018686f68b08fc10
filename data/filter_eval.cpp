#include "data/filter_eval.h"

#include <cmath>
#include <limits>

#include "data/collation.h"

namespace tamboro::filter {

namespace {

// Three-way result to the truth of the operator; unordered (NaN) is only "<>".
bool holds(CompareOp op, int c) {
    switch (op) {
    case CompareOp::Eq: return c == 0;
    case CompareOp::Ne: return c != 0;
    case CompareOp::Lt: return c < 0;
    case CompareOp::Gt: return c > 0;
    case CompareOp::Le: return c <= 0;
    case CompareOp::Ge: return c >= 0;
    }
    return false;
}

template <class T>
int threeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int threeWayReal(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return 2;  // unordered: only "<>" holds
    return threeWay(a, b);
}

bool textEquals(std::string_view value, std::string_view constant, bool prefix, bool noCase) {
    if (prefix) {
        if (value.size() < constant.size()) return false;
        value = value.substr(0, constant.size());
    }
    return noCase ? equalNoCase(value, constant) : equalExact(value, constant);
}

int textOrder(std::string_view a, std::string_view b, bool noCase) {
    int c = noCase ? collateNoCase(a, b) : collate(a, b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

class AndCond final : public Cond {
public:
    explicit AndCond(std::vector<CondPtr> k) : kids_(std::move(k)) {}
    bool test(const RowData& row) const override {
        for (const auto& k : kids_)
            if (!k->test(row)) return false;
        return true;
    }

private:
    std::vector<CondPtr> kids_;
};

class OrCond final : public Cond {
public:
    explicit OrCond(std::vector<CondPtr> k) : kids_(std::move(k)) {}
    bool test(const RowData& row) const override {
        for (const auto& k : kids_)
            if (k->test(row)) return true;
        return false;
    }

private:
    std::vector<CondPtr> kids_;
};

class NotCond final : public Cond {
public:
    explicit NotCond(CondPtr k) : kid_(std::move(k)) {}
    bool test(const RowData& row) const override { return !kid_->test(row); }

private:
    CondPtr kid_;
};

class ConstCond final : public Cond {
public:
    explicit ConstCond(bool v) : v_(v) {}
    bool test(const RowData&) const override { return v_; }

private:
    bool v_;
};

class BoolFieldCond final : public Cond {
public:
    explicit BoolFieldCond(int f) : f_(f) {}
    bool test(const RowData& row) const override { return row.getBool(f_); }

private:
    int f_;
};

class IsNullCond final : public Cond {
public:
    IsNullCond(std::vector<int> f, bool always, bool negated) : fields_(std::move(f)), always_(always), negated_(negated) {}
    bool test(const RowData& row) const override {
        bool blank = always_;
        for (int f : fields_) blank = blank || !row.has(f);
        return blank != negated_;
    }

private:
    std::vector<int> fields_;
    bool always_, negated_;
};

class BlankGuard final : public Cond {
public:
    BlankGuard(std::vector<int> f, CondPtr k) : fields_(std::move(f)), kid_(std::move(k)) {}
    bool test(const RowData& row) const override {
        for (int f : fields_)
            if (!row.has(f)) return false;
        return kid_->test(row);
    }

private:
    std::vector<int> fields_;
    CondPtr kid_;
};

class IntCompare final : public Cond {
public:
    IntCompare(int f, CompareOp op, int64_t k, int64_t blank) : f_(f), op_(op), k_(k), blank_(blank) {}
    bool test(const RowData& row) const override {
        int64_t v = row.has(f_) ? row.getInt(f_) : blank_;
        return holds(op_, threeWay(v, k_));
    }

private:
    int f_;
    CompareOp op_;
    int64_t k_, blank_;
};

class RealCompare final : public Cond {
public:
    RealCompare(int f, CompareOp op, double k, double blank) : f_(f), op_(op), k_(k), blank_(blank) {}
    bool test(const RowData& row) const override {
        double v = row.has(f_) ? row.getReal(f_) : blank_;
        return holds(op_, threeWayReal(v, k_));
    }

private:
    int f_;
    CompareOp op_;
    double k_, blank_;
};

class BoolCompare final : public Cond {
public:
    BoolCompare(int f, CompareOp op, bool k) : f_(f), op_(op), k_(k) {}
    bool test(const RowData& row) const override {
        return holds(op_, threeWay<int>(row.getBool(f_), k_));
    }

private:
    int f_;
    CompareOp op_;
    bool k_;
};

class TextEquals final : public Cond {
public:
    TextEquals(int f, bool negated, std::string k, bool prefix, bool noCase)
        : f_(f), negated_(negated), prefix_(prefix), noCase_(noCase), k_(std::move(k)) {}
    bool test(const RowData& row) const override {
        return textEquals(row.getText(f_), k_, prefix_, noCase_) != negated_;
    }

private:
    int f_;
    bool negated_, prefix_, noCase_;
    std::string k_;
};

class TextOrder final : public Cond {
public:
    TextOrder(int f, CompareOp op, std::string k, bool noCase) : f_(f), op_(op), noCase_(noCase), k_(std::move(k)) {}
    bool test(const RowData& row) const override { return holds(op_, textOrder(row.getText(f_), k_, noCase_)); }

private:
    int f_;
    CompareOp op_;
    bool noCase_;
    std::string k_;
};

// Compares two evaluated values of the same kind; nulls compare as nothing.
bool compareScalars(CompareOp op, const Scalar& a, const Scalar& b, bool noCase, bool prefixRight) {
    if (a.kind == Scalar::Kind::Null || b.kind == Scalar::Kind::Null || a.kind != b.kind) return false;
    switch (a.kind) {
    case Scalar::Kind::Number: return holds(op, threeWayReal(a.number, b.number));
    case Scalar::Kind::Bool: return holds(op, threeWay<int>(a.flag, b.flag));
    case Scalar::Kind::Text:
        if (op == CompareOp::Eq || op == CompareOp::Ne)
            return textEquals(a.text, b.text, prefixRight, noCase) == (op == CompareOp::Eq);
        return holds(op, textOrder(a.text, b.text, noCase));
    case Scalar::Kind::Null: break;
    }
    return false;
}

class GeneralCompare final : public Cond {
public:
    GeneralCompare(CompareOp op, ExprPtr l, ExprPtr r, bool noCase, bool prefixRight)
        : op_(op), noCase_(noCase), prefixRight_(prefixRight), l_(std::move(l)), r_(std::move(r)) {}
    bool test(const RowData& row) const override {
        Scalar a, b;
        l_->eval(row, a);
        r_->eval(row, b);
        return compareScalars(op_, a, b, noCase_, prefixRight_);
    }

private:
    CompareOp op_;
    bool noCase_, prefixRight_;
    ExprPtr l_, r_;
};

class InCond final : public Cond {
public:
    InCond(ExprPtr l, std::vector<ExprPtr> items, bool noCase)
        : noCase_(noCase), l_(std::move(l)), items_(std::move(items)) {}
    bool test(const RowData& row) const override {
        Scalar a, b;
        l_->eval(row, a);
        for (const auto& item : items_) {
            item->eval(row, b);
            if (compareScalars(CompareOp::Eq, a, b, noCase_, false)) return true;
        }
        return false;
    }

private:
    bool noCase_;
    ExprPtr l_;
    std::vector<ExprPtr> items_;
};

class FieldValue final : public Expr {
public:
    FieldValue(int f, ValueKind kind, bool real) : f_(f), kind_(kind), real_(real) {}
    void eval(const RowData& row, Scalar& out) const override {
        switch (kind_) {
        case ValueKind::Text:
            out.kind = Scalar::Kind::Text;
            out.text = row.getText(f_);
            return;
        case ValueKind::Bool:
            out.kind = Scalar::Kind::Bool;
            out.flag = row.getBool(f_);
            return;
        case ValueKind::Number:
        case ValueKind::Date:
            out.kind = Scalar::Kind::Number;
            if (!row.has(f_))
                out.number = kind_ == ValueKind::Date ? -std::numeric_limits<double>::infinity() : 0.0;
            else
                out.number = real_ ? row.getReal(f_) : static_cast<double>(row.getInt(f_));
            return;
        }
    }

private:
    int f_;
    ValueKind kind_;
    bool real_;
};

class ConstValue final : public Expr {
public:
    explicit ConstValue(Scalar v) : v_(std::move(v)) {}
    void eval(const RowData&, Scalar& out) const override {
        out.kind = v_.kind;
        out.flag = v_.flag;
        out.number = v_.number;
        out.text = v_.own;
    }

private:
    Scalar v_;
};

class CondValue final : public Expr {
public:
    explicit CondValue(CondPtr c) : c_(std::move(c)) {}
    void eval(const RowData& row, Scalar& out) const override {
        out.kind = Scalar::Kind::Bool;
        out.flag = c_->test(row);
    }

private:
    CondPtr c_;
};

class Arithmetic final : public Expr {
public:
    Arithmetic(std::vector<ExprPtr> operands, std::string ops, bool text)
        : operands_(std::move(operands)), ops_(std::move(ops)), text_(text) {}
    void eval(const RowData& row, Scalar& out) const override {
        Scalar x;
        if (text_) {
            std::string joined;
            for (const auto& o : operands_) {
                o->eval(row, x);
                joined.append(x.text);
            }
            out.kind = Scalar::Kind::Text;
            out.own = std::move(joined);
            out.text = out.own;
            return;
        }
        operands_[0]->eval(row, x);
        double acc = x.number;
        for (size_t i = 0; i < ops_.size(); ++i) {
            operands_[i + 1]->eval(row, x);
            switch (ops_[i]) {
            case '+': acc += x.number; break;
            case '-': acc -= x.number; break;
            case '*': acc *= x.number; break;
            default: acc /= x.number; break;
            }
        }
        out.kind = Scalar::Kind::Number;
        out.number = acc;
    }

private:
    std::vector<ExprPtr> operands_;
    std::string ops_;
    bool text_;
};

}  // namespace

CondPtr makeAnd(std::vector<CondPtr> kids) { return std::make_unique<AndCond>(std::move(kids)); }
CondPtr makeOr(std::vector<CondPtr> kids) { return std::make_unique<OrCond>(std::move(kids)); }
CondPtr makeNot(CondPtr kid) { return std::make_unique<NotCond>(std::move(kid)); }
CondPtr makeConstant(bool value) { return std::make_unique<ConstCond>(value); }
CondPtr makeBoolField(int field) { return std::make_unique<BoolFieldCond>(field); }
CondPtr makeIsNull(std::vector<int> fields, bool always, bool negated) {
    return std::make_unique<IsNullCond>(std::move(fields), always, negated);
}
CondPtr makeBlankGuard(std::vector<int> fields, CondPtr kid) {
    return std::make_unique<BlankGuard>(std::move(fields), std::move(kid));
}
CondPtr makeIntCompare(int field, CompareOp op, int64_t constant, int64_t blank) {
    return std::make_unique<IntCompare>(field, op, constant, blank);
}
CondPtr makeRealCompare(int field, CompareOp op, double constant, double blank) {
    return std::make_unique<RealCompare>(field, op, constant, blank);
}
CondPtr makeBoolCompare(int field, CompareOp op, bool constant) {
    return std::make_unique<BoolCompare>(field, op, constant);
}
CondPtr makeTextEquals(int field, bool negated, std::string constant, bool prefix, bool noCase) {
    return std::make_unique<TextEquals>(field, negated, std::move(constant), prefix, noCase);
}
CondPtr makeTextOrder(int field, CompareOp op, std::string constant, bool noCase) {
    return std::make_unique<TextOrder>(field, op, std::move(constant), noCase);
}
CondPtr makeCompare(CompareOp op, ExprPtr left, ExprPtr right, bool noCase, bool prefixRight) {
    return std::make_unique<GeneralCompare>(op, std::move(left), std::move(right), noCase, prefixRight);
}
CondPtr makeIn(ExprPtr left, std::vector<ExprPtr> items, bool noCase) {
    return std::make_unique<InCond>(std::move(left), std::move(items), noCase);
}

ExprPtr makeFieldValue(int field, ValueKind kind, bool real) {
    return std::make_unique<FieldValue>(field, kind, real);
}
ExprPtr makeNumberValue(double v) {
    Scalar s;
    s.kind = Scalar::Kind::Number;
    s.number = v;
    return std::make_unique<ConstValue>(std::move(s));
}
ExprPtr makeTextValue(std::string v) {
    Scalar s;
    s.kind = Scalar::Kind::Text;
    s.own = std::move(v);
    return std::make_unique<ConstValue>(std::move(s));
}
ExprPtr makeBoolValue(bool v) {
    Scalar s;
    s.kind = Scalar::Kind::Bool;
    s.flag = v;
    return std::make_unique<ConstValue>(std::move(s));
}
ExprPtr makeCondValue(CondPtr c) { return std::make_unique<CondValue>(std::move(c)); }
ExprPtr makeArithmetic(std::vector<ExprPtr> operands, std::string ops, bool text) {
    return std::make_unique<Arithmetic>(std::move(operands), std::move(ops), text);
}

}  // namespace tamboro::filter
