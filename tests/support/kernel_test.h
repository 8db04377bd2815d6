// Base fixture of every suite on the platform: a clean platform per test, and at tear-down no verifier
// violation and nothing left allocated (the first violation's text is in the failure message).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/kernel/wdm.h"

class KernelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Asserts a violation so far, the first of which contains text, then forgets them all.
    void ExpectViolation(const std::string& text);
    // Asserts no violation so far.
    void ExpectNoViolation();
};
