// The real binary over a pipe.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_process.h"

namespace {

using Lines = std::vector<std::string>;

// The options a GUI may set, in the UCCI form ("default" before any "var").
const Lines kHandshake = {
    "Tavox ucci 3.5.5 by lumid",
    "id name Tavox 3.5.5",
    "id copyright 2026 lumid",
    "id author lumid",
    "id user unknown",
    "option usemillisec type check default false",
    "option ponder type check default false",
    "option usebook type check default true",
    "option bookfiles type string",
    "option hashsize type spin min 16 max 512 default 32",
    "option debug type check default false",
    "option newgame type button",
    "option lazy type check default true",
    "option futi type check default true",
    "option nullex type check default false",
    "option delta type check default true",
    "option checkqs type check default false",
    "option hist type check default true",
    "ucciok",
};

Lines with_handshake(Lines tail) {
    Lines all = kHandshake;
    all.insert(all.end(), tail.begin(), tail.end());
    return all;
}

TEST(Protocol, HandshakeReadyAndQuit) {
    const EngineRun r = run_engine("ucci\nisready\nquit\n");
    EXPECT_EQ(r.lines, with_handshake({"readyok", "bye"}));
    EXPECT_EQ(r.exit_code, 0);
}

TEST(Protocol, FirstLineOtherThanUcciEndsAtOnce) {
    for (const char* first : {"isready\n", "ucci \n", "UCCI\n", "uci\n", ""}) {
        const EngineRun r = run_engine(first);
        EXPECT_EQ(r.lines, (Lines{"Tavox ucci 3.5.5 by lumid", "bye"})) << first;
        EXPECT_EQ(r.exit_code, 0) << first;
    }
}

TEST(Protocol, IgnoredLinesPrintNothing) {
    const EngineRun r = run_engine(
        "ucci\nstop\nbanmoves h2e2\nbogus line\ngo\nucci\nponderhit\nsetoption hashsize 64\n"
        "setoption nonsense\nposition nonsense\nisready\nquit\n");
    EXPECT_EQ(r.lines, with_handshake({"readyok", "bye"}));
    EXPECT_EQ(r.exit_code, 0);
}

TEST(Protocol, EndOfInputActsAsQuit) {
    const EngineRun r = run_engine("ucci\nisready\n");
    EXPECT_EQ(r.lines, with_handshake({"readyok", "bye"}));
    EXPECT_EQ(r.exit_code, 0);
}

TEST(Protocol, WindowsLineEndsAndLongLines) {
    const std::string long_line(5000, 'z');
    const EngineRun r = run_engine("ucci\r\n" + long_line + "\nisready\r\nquit\r\n");
    EXPECT_EQ(r.lines, with_handshake({"readyok", "bye"}));
}

TEST(Protocol, LinesSentOneByOneAreAnswered) {
    EngineProcess p;
    std::string line;
    p.send_line("ucci");
    ASSERT_TRUE(p.wait_for("ucciok", line));
    p.send_line("isready");
    ASSERT_TRUE(p.read_line(line));
    EXPECT_EQ(line, "readyok");
    p.send("isre");
    p.send("ady\n");
    ASSERT_TRUE(p.read_line(line));
    EXPECT_EQ(line, "readyok");
    p.send_line("quit");
    ASSERT_TRUE(p.read_line(line));
    EXPECT_EQ(line, "bye");
    EXPECT_EQ(p.wait_exit(), 0);
}

}  // namespace
