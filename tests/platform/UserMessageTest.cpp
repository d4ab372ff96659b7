#include "platform/UserMessage.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zir::platform;

TEST(UserMessage, AHandlerSeesTheWholeMessageAndAnswersAQuestion) {
    std::vector<UserMessage> seen;
    UserMessageAnswer answer = UserMessageAnswer::Cancel;
    SetUserMessageHandler([&](const UserMessage& message) {
        seen.push_back(message);
        return answer;
    });
    UserMessage question;
    question.Text = "确定要关闭解码服务么？";
    question.Kind = UserMessageKind::Question;
    question.Caption = "提示信息";
    question.Owner = 1;
    EXPECT_EQ(ShowUserMessage(question), UserMessageAnswer::Cancel);
    answer = UserMessageAnswer::Ok;
    EXPECT_EQ(ShowUserMessage(question), UserMessageAnswer::Ok);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].Text, "确定要关闭解码服务么？");
    EXPECT_EQ(seen[0].Caption, "提示信息");
    EXPECT_EQ(seen[0].Owner, 1);

    // A box with only OK answers OK, whatever the handler says; the plain form is plain.
    answer = UserMessageAnswer::Cancel;
    UserMessage notice;
    notice.Text = "开机自启动已打开";
    notice.Kind = UserMessageKind::Information;
    EXPECT_EQ(ShowUserMessage(notice), UserMessageAnswer::Ok);
    ShowUserMessage("服务端口不能为空");
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[3].Kind, UserMessageKind::Plain);
    EXPECT_EQ(seen[3].Caption, "");
    EXPECT_EQ(seen[3].Owner, kNoOwner);
    SetUserMessageHandler(nullptr);
}

TEST(UserMessage, WithoutAHandlerNobodyAgreesToAQuestion) {
    SetUserMessageHandler(nullptr);
    UserMessage question;
    question.Text = "确定要关闭解码服务么？";
    question.Kind = UserMessageKind::Question;
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowUserMessage(question), UserMessageAnswer::Cancel);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "确定要关闭解码服务么？\n");
}
