// A sheet object from the library holding stand-in device objects, ready to
// be shown in a test sheet.
#pragma once

#include <gtest/gtest.h>

#include "PelkoFakes.h"
#include "PelkoHarness.h"
#include "resource.h"

namespace pelko_test {

class PelkoPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        sheet = PelkoLibrary::Get().CreateSheet();
        ASSERT_NE(nullptr, sheet);
        sheet->SetID(0);
        sheet->SetDevice(&device);
        sheet->SetJoyConfig(&config);
    }
    void TearDown() override
    {
        if (sheet)
            sheet->Release();
    }

    FakeDevice device;
    FakeJoyConfig config;
    IDIGameCntrlPropSheet* sheet = nullptr;
};

} // namespace pelko_test
