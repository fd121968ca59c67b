#include "app/boolean_text.h"

#include <gtest/gtest.h>

#include "framework/exceptions.h"

namespace app {
namespace {

TEST(StrToBooleanTest, Accepted) {
    struct Row {
        const char* name;
        const char* text;
        const char* radix;
        bool value;
    } rows[] = {
        {"word lower", "true", ".", true},
        {"word upper", "TRUE", ".", true},
        {"word mixed", "True", ".", true},
        {"one", "1", ".", true},
        {"negative", "-3", ".", true},
        {"fraction", "0.5", ".", true},
        {"exponent", "1e3", ".", true},
        {"tiny but not zero", "0.0001E-5", ".", true},
        {"plus sign", "+2", ".", true},
        {"blanks and tabs", " \t7\t ", ".", true},
        {"locale radix", "0,5", ",", true},
        {"dot besides locale radix", "0.5", ",", true},
        {"false lower", "false", ".", false},
        {"false upper", "FALSE", ".", false},
        {"false mixed", "fAlSe", ".", false},
        {"zero", "0", ".", false},
        {"zero fraction", "0.0", ".", false},
        {"negative zero", "-0", ".", false},
        {"zero with blanks", " 0.0 ", ".", false},
        {"zero with exponent", "0e10", ".", false},
        {"trailing dot", "0.", ".", false},
        {"leading dot", ".5", ".", true},
    };
    for (const auto& r : rows) {
        bool v = !r.value;
        EXPECT_NO_THROW(v = StrToBoolean(r.text, r.radix)) << r.name;
        EXPECT_EQ(v, r.value) << r.name;
    }
}

TEST(StrToBooleanTest, Rejected) {
    struct Row {
        const char* name;
        const char* text;
        const char* radix;
    } rows[] = {
        {"empty", "", "."},
        {"yes", "yes", "."},
        {"russian yes", "да", "."},
        {"number then letter", "1x", "."},
        {"truncated word", "tru", "."},
        {"two numbers", "1 0", "."},
        {"blank around word", " true", "."},
        {"sign only", "-", "."},
        {"dot only", ".", "."},
        {"exponent without digits", "1e", "."},
        {"comma without locale radix", "0,5", "."},
        {"hex", "0x1", "."},
        {"infinity", "inf", "."},
        {"blanks only", "  ", "."},
        {"two signs", "+-1", "."},
        {"newline is no blank", "1\n", "."},
    };
    for (const auto& r : rows) {
        try {
            StrToBoolean(r.text, r.radix);
            ADD_FAILURE() << r.name << ": accepted";
        } catch (const framework::EVariantTypeCastError& e) {
            EXPECT_EQ(e.Message(), "Could not convert variant of type (String) into type (Boolean)") << r.name;
        }
    }
}

}  // namespace
}  // namespace app
