#include "DialogControlsContract.h"
#include "Support/FakeDialogControls.h"

#include <gtest/gtest.h>

TEST(FakeDialogControlsTest, BehavesLikeTheGtkControls)
{
    FakeDialogControls fake(ContractTemplate());
    ExpectControlsContract(fake);
}
