#include "toolkit/Control.h"
#include "toolkit/MessagePump.h"
#include "toolkit/Window.h"
#include "tests/harness/MessageBoxCatcher.h"

#include <gtest/gtest.h>

TEST(MessagePump, LeavesAWaitingQuitMessageInTheQueue)
{
    PostQuitMessage(7);
    EXPECT_EQ(pumpPendingMessages(), 1);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(pumpPendingMessages(), 0);
}

TEST(WindowObjectDefaults, CreateShowsMissingCreateAndFails)
{
    MessageBoxCatcher catcher;
    WindowObject object;
    EXPECT_EQ(object.create(nullptr, 0, "", 0, 0, 1, 1), 0);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].text, "Missing Create");
    EXPECT_EQ(catcher.boxes()[0].caption, "App Error");
}
