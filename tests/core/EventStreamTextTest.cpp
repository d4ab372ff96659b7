#include "core/EventStreamText.h"

#include <gtest/gtest.h>

using zir::core::EventStreamEvent;

TEST(EventStreamText, OneLineOfDataIsOneDataLineAndABlankLineEndsTheEvent) {
    EXPECT_EQ(EventStreamEvent("card", R"({"uid":"A1"})"),
              "event: card\ndata: {\"uid\":\"A1\"}\n\n");
    EXPECT_EQ(EventStreamEvent("removed", "{}"), "event: removed\ndata: {}\n\n");
    EXPECT_EQ(EventStreamEvent("x", ""), "event: x\ndata: \n\n");
}

TEST(EventStreamText, LineBreaksInDataCannotEndTheEventOrStartAField) {
    // Each of LF, CR LF and CR would otherwise be a line of its own to the client.
    EXPECT_EQ(EventStreamEvent("e", "a\nevent: forged\r\nb\rc"),
              "event: e\ndata: a\ndata: event: forged\ndata: b\ndata: c\n\n");
    EXPECT_EQ(EventStreamEvent("e", "a\n\n"), "event: e\ndata: a\ndata: \ndata: \n\n");
}
