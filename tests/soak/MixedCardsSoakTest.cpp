// Many requests over many connections while the holder keeps changing the card on the reader:
// every answer is whole and exactly one card's document, never a mix of two cards.

#include "SoakSupport.h"
#include "StrictJson.h"
#include "platform/AtomicFileWrite.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <random>
#include <thread>

using namespace zir::test;
using namespace std::chrono_literals;

namespace {

struct Card {
    std::string Text; // the card file
    std::string Full; // its full-read document
    std::string Uid;  // its UID document
};

// A photo of its own per card: a name beside another card's photo would show.
std::string PhotoBytes(char shade) {
    std::string bytes = "BM";
    bytes.resize(38610, shade);
    return bytes;
}

} // namespace

TEST(MixedCardsSoak, EveryAnswerIsExactlyOneCardsDocumentWhileTheCardChanges) {
    const std::size_t kConnections = 64;
    const std::size_t total = SoakCount(20000, 1000000);
    ZirService service("CardType=0\n", {.WebType = 0, .WebCache = 1});
    std::vector<Card> cards = {
        {"CardType=1\nName=张三\nIdCode=110101199001011234\nUid=AA01\nPhoto=a.bmp\n", "", ""},
        {"CardType=2\nName=陈大文\nPassNum=H12345678\nIdCode=810000198505050011\nUid=BB0202\n"
         "UidCardType=16\nPhoto=b.bmp\n",
         "", ""},
        {"CardType=4\nName=安娜\nNameEn=ANNA SMITH\nCountry=美国\nCountryCode=USA\n"
         "IdCode=USA123456789\nUid=CC030303\nUidCardType=4\nPhoto=c.bmp\n",
         "", ""},
    };
    service.Dir.Write("a.bmp", PhotoBytes('a'));
    service.Dir.Write("b.bmp", PhotoBytes('b'));
    service.Dir.Write("c.bmp", PhotoBytes('c'));
    const std::string failure = R"({"statusCode":"500"})";
    std::chrono::steady_clock::duration longestRead{};
    for (Card& card : cards) {
        service.WriteCard(card.Text);
        auto start = std::chrono::steady_clock::now();
        card.Full = service.Get("/").Body;
        longestRead = std::max(longestRead, std::chrono::steady_clock::now() - start);
        card.Uid = service.Get("/?type=UID").Body;
        ASSERT_NE(card.Full.find("\"photoBase64\":\"Qk"), std::string::npos) << card.Full;
        JsonValue parsed;
        std::string error;
        ASSERT_TRUE(StrictJsonReader::Parse(card.Full, parsed, error)) << error;
    }
    // Answers the service may give: a card's full or UID document, or the failure (a card
    // swapped twice in one read).
    std::map<std::string, int> known{{failure, -1}};
    for (std::size_t i = 0; i < cards.size(); ++i) {
        known[cards[i].Full] = static_cast<int>(i);
        known[cards[i].Uid] = static_cast<int>(i);
    }

    // The holder: another card every few milliseconds, each file replaced whole. (A card taken
    // away and put back while a read runs is not here: a read whose UID read found no card has
    // nothing to check the full read against, and may answer a card's fields without its UID.)
    std::atomic<bool> done{false};
    std::atomic<std::size_t> changes{0};
    // No hand swaps twice within one read: the swaps are at least three whole reads apart.
    const auto shortest = std::max<std::chrono::steady_clock::duration>(
        std::chrono::milliseconds(2), 3 * longestRead);
    std::thread holder([&] {
        std::mt19937 random(1234);
        std::size_t lying = 0;
        while (!done) {
            lying = (lying + 1 + random() % (cards.size() - 1)) % cards.size();
            zir::platform::AtomicFileWrite(service.CardFile, cards[lying].Text + "# " +
                                                                 std::to_string(changes) + "\n");
            ++changes;
            std::this_thread::sleep_for(shortest + std::chrono::milliseconds(random() % 10));
        }
    });

    std::atomic<std::size_t> next{0}, answered{0}, wrong{0};
    std::mutex reportLock;
    std::string firstWrong;
    auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> clients;
    for (std::size_t c = 0; c < kConnections; ++c) {
        clients.emplace_back([&, c] {
            try {
                RawHttpClient client(service.Port);
                for (std::size_t n = next++; n < total; n = next++) {
                    const char* target = n % 3 == 0    ? "/?type=UID"
                                         : n % 17 == 0 ? "/favicon.ico"
                                                       : "/";
                    client.Send(GetRequest(target));
                    auto response = client.ReadResponse(false, 30s);
                    bool right = response && response->StatusLine == "HTTP/1.1 200 OK";
                    if (right && std::string(target) == "/favicon.ico")
                        right = response->Body.empty() && response->Header("Content-Length") == "0";
                    else if (right)
                        right = known.count(response->Body) == 1 &&
                                response->Header("Content-Length") ==
                                    std::to_string(response->Body.size());
                    ++answered;
                    if (!right) {
                        ++wrong;
                        std::lock_guard lock(reportLock);
                        if (firstWrong.empty() && response) {
                            // The photo text is long and tells little: its first bytes do.
                            std::string body = response->Body;
                            std::size_t photo = body.find("\"photoBase64\":\"");
                            if (photo != std::string::npos)
                                body.erase(photo + 40, body.find('"', photo + 15) - photo - 40);
                            firstWrong = response->StatusLine + " " + body;
                        } else if (firstWrong.empty()) {
                            firstWrong = "no answer";
                        }
                    }
                    if (!response)
                        return;
                }
            } catch (const std::exception& e) {
                std::lock_guard lock(reportLock);
                firstWrong = std::string("client ") + std::to_string(c) + ": " + e.what();
                ++wrong;
            }
        });
    }
    for (auto& client : clients)
        client.join();
    done = true;
    holder.join();
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("requests", static_cast<int>(answered.load()));
    RecordProperty("card_changes", static_cast<int>(changes.load()));
    RecordProperty("seconds", std::to_string(seconds));
    std::printf("mixed cards: %zu requests over %zu connections in %.1f s, %zu card changes, "
                "%zu wrong\n",
                answered.load(), kConnections, seconds, changes.load(), wrong.load());
    EXPECT_EQ(answered.load(), total);
    EXPECT_EQ(wrong.load(), 0u) << firstWrong.substr(0, 2000);
    EXPECT_EQ(service.Process->Stderr(), ""); // no overlapping reader calls, no warnings
}
