#include "DialogControlsContract.h"

#include <gtest/gtest.h>

const DialogTemplate& ContractTemplate()
{
    using Kind = DialogControlKind;
    static const DialogTemplate dialog{
        "Contract",
        "MS Sans Serif",
        8,
        {0, 0, 200, 80},
        {
            {Kind::Label, IDC_STATIC, "Choice", {8, 10, 40, 8}},
            {Kind::DropDownList, ContractList, "", {50, 8, 140, 60}},
            {Kind::CheckBox, ContractBox, "", {8, 30, 8, 8}},
            {Kind::DefaultPushButton, IDOK, "Run", {50, 55, 60, 13}},
            {Kind::PushButton, IDCANCEL, "Exit", {120, 55, 60, 13}},
        },
    };
    return dialog;
}

void ExpectControlsContract(DialogControls& controls)
{
    EXPECT_TRUE(controls.HasControl(ContractList));
    EXPECT_TRUE(controls.HasControl(ContractBox));
    EXPECT_TRUE(controls.HasControl(IDOK));
    EXPECT_FALSE(controls.HasControl(999));
    EXPECT_FALSE(controls.HasControl(IDC_STATIC));

    // A list starts empty and adding items selects none of them.
    EXPECT_EQ(controls.SelectedText(ContractList), std::nullopt);
    EXPECT_EQ(controls.AddItem(ContractList, "No multisampling"), 0);
    EXPECT_EQ(controls.AddItem(ContractList, "1920 x 1080 @ 60hz (16:9)"), 1);
    EXPECT_EQ(controls.SelectedText(ContractList), std::nullopt);

    EXPECT_TRUE(controls.SelectItem(ContractList, 1));
    EXPECT_EQ(controls.SelectedText(ContractList), "1920 x 1080 @ 60hz (16:9)");
    EXPECT_TRUE(controls.SelectItem(ContractList, 0));
    EXPECT_EQ(controls.SelectedText(ContractList), "No multisampling");

    // An index outside the list clears the selection.
    EXPECT_FALSE(controls.SelectItem(ContractList, 2));
    EXPECT_EQ(controls.SelectedText(ContractList), std::nullopt);
    EXPECT_TRUE(controls.SelectItem(ContractList, 1));
    EXPECT_FALSE(controls.SelectItem(ContractList, -1));
    EXPECT_EQ(controls.SelectedText(ContractList), std::nullopt);

    // List operations on what is not a list, and box operations on what is not a box, fail.
    EXPECT_EQ(controls.AddItem(ContractBox, "item"), -1);
    EXPECT_EQ(controls.AddItem(999, "item"), -1);
    EXPECT_FALSE(controls.SelectItem(ContractBox, 0));
    EXPECT_EQ(controls.SelectedText(IDOK), std::nullopt);
    EXPECT_FALSE(controls.SetChecked(ContractList, true));
    EXPECT_FALSE(controls.IsChecked(ContractList));
    EXPECT_FALSE(controls.SetChecked(999, true));

    EXPECT_FALSE(controls.IsChecked(ContractBox));
    EXPECT_TRUE(controls.SetChecked(ContractBox, true));
    EXPECT_TRUE(controls.IsChecked(ContractBox));
    EXPECT_TRUE(controls.SetChecked(ContractBox, false));
    EXPECT_FALSE(controls.IsChecked(ContractBox));
}
