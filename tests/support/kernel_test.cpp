// The base fixture: platform reset around each test and the verifier's verdict at the end.
#include "tests/support/kernel_test.h"

#include "platform/pnp/pnp.h"
#include "platform/verifier/verifier.h"

namespace {

std::string Leaks() {
    std::string text;
    for (auto kind : {verifier::Kind::Pool, verifier::Kind::Irp, verifier::Kind::Mdl, verifier::Kind::Mapping})
        for (const verifier::Allocation& a : verifier::Outstanding(kind)) text += "\n  " + verifier::Describe(a);
    return text;
}

}  // namespace

void KernelTest::SetUp() { pnp::ResetForTest(); }

void KernelTest::TearDown() {
    EXPECT_EQ(verifier::ViolationCount(), 0) << "first violation: " << verifier::FirstViolation();
    std::string leaks = Leaks();
    EXPECT_TRUE(leaks.empty()) << "still allocated at tear-down:" << leaks;
    EXPECT_EQ(KeGetCurrentIrql(), PASSIVE_LEVEL);
    pnp::ResetForTest();
}

void KernelTest::ExpectViolation(const std::string& text) {
    EXPECT_GE(verifier::ViolationCount(), 1) << "expected a violation about \"" << text << "\"";
    EXPECT_NE(verifier::FirstViolation().find(text), std::string::npos)
        << "expected a violation about \"" << text << "\", got: " << verifier::FirstViolation();
    verifier::ClearViolations();
}

void KernelTest::ExpectNoViolation() {
    EXPECT_EQ(verifier::ViolationCount(), 0) << "first violation: " << verifier::FirstViolation();
}
