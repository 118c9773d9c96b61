#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/cv_value.h"
#include "foundation/ptr_list.h"
#include "foundation/text_compare.h"

namespace {

std::vector<std::string> texts(PtrList& list) {
    std::vector<std::string> out;
    PtrListIterator* it = list.iterate();
    for (void* e = it->first(); e; e = it->next())
        out.push_back(static_cast<const char*>(e));
    delete it;
    return out;
}

// Equal keys with distinct identities, to see which of two equal elements comes first.
int compareFirstLetter(const void* a, const void* b) {
    char x = *static_cast<const char*>(a), y = *static_cast<const char*>(b);
    return x < y ? 0 : (x == y ? 1 : 2);
}

TEST(PtrList, KeepsSortedOrderAndNeverSwapsEqualElements) {
    char alpha[] = "alpha", gamma[] = "gamma", beta[] = "beta";
    PtrList list;
    list.setCompare(compareText);
    list.pushBack(alpha);
    list.pushBack(gamma);
    list.pushBack(beta);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    EXPECT_EQ(list.size(), 3u);

    char b1[] = "b1", b2[] = "b2", b3[] = "b3";
    PtrList stable;
    stable.setCompare(compareFirstLetter);
    stable.pushBack(b1);
    stable.pushBack(b2);  // pushed last, stays after the equal b1
    stable.pushFront(b3); // pushed in front, stays before them
    EXPECT_EQ(texts(stable), (std::vector<std::string>{"b3", "b1", "b2"}));
}

TEST(PtrList, SetCompareSortsExistingElementsAndRemoveUsesIdentity) {
    char c[] = "c", a[] = "a", b[] = "b", otherA[] = "a";
    PtrList list;
    list.pushBack(c);
    list.pushBack(a);
    list.pushBack(b);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"c", "a", "b"}));
    list.setCompare(compareText);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"a", "b", "c"}));

    EXPECT_EQ(list.remove(otherA), nullptr); // equal text, different element
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.remove(b), b);
    EXPECT_EQ(texts(list), (std::vector<std::string>{"a", "c"}));
}

TEST(PtrList, FindNeedsPredicateAndContext) {
    char a[] = "a", b[] = "b";
    PtrList list;
    auto isText = [](void* context, void* element) {
        return static_cast<int>(std::string(static_cast<char*>(element)) ==
                                static_cast<char*>(context));
    };
    EXPECT_EQ(list.find(isText, b), nullptr);
    list.pushBack(a);
    list.pushBack(b);
    EXPECT_EQ(list.find(isText, b), b);
    EXPECT_EQ(list.find(isText, nullptr), nullptr);
    EXPECT_EQ(list.find(nullptr, b), nullptr);
}

TEST(PtrListIterator, ReportsChangesMadeDuringTheWalk) {
    char a[] = "a", b[] = "b", z[] = "z";
    PtrList list;
    list.pushBack(a);
    list.pushBack(b);
    PtrListIterator* it = list.iterate();
    EXPECT_EQ(it->first(), a);
    list.pushFront(z);
    EXPECT_EQ(it->next(), PtrListIterator::changed);
    EXPECT_EQ(it->next(), PtrListIterator::changed); // stays put until restarted
    EXPECT_EQ(it->first(), z);
    EXPECT_EQ(it->next(), a);
    EXPECT_EQ(it->next(), b);
    EXPECT_EQ(it->next(), nullptr);
    EXPECT_EQ(it->next(), nullptr);
    delete it;

    // A sort that swaps counts as a change too.
    PtrList sorted;
    sorted.pushBack(b);
    sorted.pushBack(a);
    it = sorted.iterate();
    it->first();
    sorted.setCompare(compareText);
    EXPECT_EQ(it->next(), PtrListIterator::changed);
    delete it;

    PtrList empty;
    it = empty.iterate();
    EXPECT_EQ(it->first(), nullptr);
    EXPECT_EQ(it->next(), nullptr);
    delete it;
}

TEST(TextCompare, ThreeWayResultsWithAndWithoutCase) {
    EXPECT_EQ(compareText("a", "b"), 0);
    EXPECT_EQ(compareText("b", "b"), 1);
    EXPECT_EQ(compareText("c", "b"), 2);
    EXPECT_EQ(compareText("NCE", "nce"), 0); // upper case sorts first
    EXPECT_EQ(compareTextNoCase("nce", "NCE"), 1);
    EXPECT_EQ(compareTextNoCase("Digitrax", "nce"), 0);
    EXPECT_EQ(compareTextNoCase("NCE", "lenz"), 2);
    EXPECT_EQ(compareTextNoCase("abc", "abcd"), 0);
    EXPECT_EQ(compareText(nullptr, "x"), 1);
    EXPECT_EQ(compareTextNoCase("x", nullptr), 1);
}

TEST(CvValue, BitsClampAboveSevenAndTextFollowsChanges) {
    CvValue value;
    EXPECT_STREQ(value.text(), "0");
    value.setBit(9);
    EXPECT_EQ(value.value(), 255);
    EXPECT_STREQ(value.text(), "255");
    value.clearBit(8);
    EXPECT_EQ(value.value(), 0);
    value.setBit(5);
    EXPECT_EQ(value.value(), 32);
    EXPECT_EQ(value.testBit(5), 1);
    EXPECT_EQ(value.testBit(4), 0);
    EXPECT_EQ(value.testBit(12), 0);
    value.clearBit(5);
    value.setValue(7);
    EXPECT_STREQ(value.text(), "7");
    value.setValue(0x1FF);
    EXPECT_EQ(value.value(), 255);
    EXPECT_STREQ(value.text(), "255");

    CvValue copy(value);
    EXPECT_EQ(copy.value(), 255);
    copy = CvValue(12);
    EXPECT_STREQ(copy.text(), "12");
}

TEST(CvValue, SetFromTextTakesTheFirstSuffixThatFitsAByte) {
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"17", 17}, {"-5", 5},   {"300", 0},   {"256", 56}, {"", 0},
        {"abc", 0}, {" 42", 42}, {"255", 255}, {"999", 99}, {"99999999999999999999999", 99}};
    for (const Case& c : cases) {
        CvValue value(200);
        value.setFromText(c.text);
        EXPECT_EQ(value.value(), c.expected) << '"' << c.text << '"';
    }
    CvValue value(5);
    value.setFromText(nullptr);
    EXPECT_EQ(value.value(), 0);
}

} // namespace
