// An expression as typed into a filter or a tag: compile it against an address-like
// record and evaluate it on a blank and a filled record.

#include <memory>
#include <string>

#include "Expression.h"
#include "Field.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const xbase::RecordLayout layout({{"LNAME", 'C', 20},
                                             {"ZIP", 'C', 10},
                                             {"N", 'N', 8, 2},
                                             {"DATE", 'D', 8},
                                             {"ISDEL", 'L', 1},
                                             {"MEMO", 'M', 10}});
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<xbase::Expression> e;
    if (!xbase::Expression::compile(text, layout, 0x03, &e).ok()) return 0;
    std::string blank(layout.recordLength(), ' ');
    std::string filled = " Smith               60601-1234  123.45 20261210T          ";
    filled.resize(layout.recordLength(), ' ');
    for (const std::string* record : {&blank, &filled}) {
        xbase::EvalContext ctx;
        ctx.record = record->data();
        ctx.recNo = 7;
        switch (e->type()) {
            case xbase::ValueType::Logical: (void)e->evalLogical(ctx); break;
            case xbase::ValueType::Numeric: (void)e->evalNumeric(ctx); break;
            default: break;
        }
        (void)e->evalString(ctx);
    }
    return 0;
}
