// The command line: what each subcommand accepts, the defaults, and the one-line reasons for
// everything it refuses.
#include "Options.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

using namespace vexlink_cli;

namespace {

ParseResult parse(const std::vector<std::string>& args) { return parseCommandLine(args); }

Options accepted(const std::vector<std::string>& args) {
    const ParseResult result = parseCommandLine(args);
    if (const UsageError* e = std::get_if<UsageError>(&result)) ADD_FAILURE() << e->message;
    const Options* options = std::get_if<Options>(&result);
    return options != nullptr ? *options : Options{};
}

}  // namespace

TEST(CommandLine, ReadTakesEveryModeAndLimit) {
    const Options o = accepted({"read", "--port", "com3", "--continuous", "--rate=75", "--checksum",
                                "--seconds", "2.5", "--format", "jsonl"});
    EXPECT_EQ(o.subcommand, Subcommand::Read);
    EXPECT_EQ(o.port, "COM3");
    EXPECT_TRUE(o.modes.continuous);
    EXPECT_TRUE(o.modes.checksum);
    EXPECT_FALSE(o.modes.ascii);
    EXPECT_EQ(o.modes.rate, 75);
    ASSERT_TRUE(o.limit.seconds.has_value());
    EXPECT_DOUBLE_EQ(*o.limit.seconds, 2.5);
    EXPECT_FALSE(o.limit.count.has_value());
    EXPECT_EQ(o.format, OutputFormat::Jsonl);
}

#if defined(_WIN32)
TEST(CommandLine, WindowsPortNamesAreAnyComNumberInUpperCase) {
    EXPECT_EQ(accepted({"read", "--port", "com12"}).port, "COM12");
    EXPECT_EQ(accepted({"read", "--port", "COM255"}).port, "COM255");
}
#endif

TEST(CommandLine, DefaultsAreBinaryUponRequestCsvToTheStandardUdpPort) {
#if defined(_WIN32)
    const char* const device = "\\\\.\\COM12";
#else
    const char* const device = "/dev/ttyUSB0";
#endif
    const Options read = accepted({"read", "--port", device});
    EXPECT_EQ(read.port, device);
    EXPECT_FALSE(read.modes.ascii || read.modes.checksum || read.modes.continuous);
    EXPECT_EQ(read.modes.rate, 40);
    EXPECT_FALSE(read.limit.count || read.limit.seconds);
    EXPECT_EQ(read.format, OutputFormat::Csv);

    const Options stream = accepted({"stream", "--port", "COM1", "--count", "9"});
    EXPECT_EQ(stream.udp.host, "127.0.0.1");
    EXPECT_EQ(stream.udp.port, 4242);
    EXPECT_EQ(stream.limit.count, 9);
}

TEST(CommandLine, PortsAndDetectAllTakeTheirWordsAndOptions) {
    const Options list = accepted({"ports"});
    EXPECT_EQ(list.ports.action, PortsAction::List);
    EXPECT_EQ(list.format, OutputFormat::Table);
    EXPECT_EQ(accepted({"ports", "--format=jsonl"}).format, OutputFormat::Jsonl);

    const Options set = accepted({"ports", "--system", "set", "com4", "/dev/serial/by-id/x"});
    EXPECT_EQ(set.ports.action, PortsAction::Set);
    EXPECT_EQ(set.ports.com, 4);
    EXPECT_EQ(set.ports.path, "/dev/serial/by-id/x");
    EXPECT_TRUE(set.ports.system);
    const Options unset = accepted({"ports", "unset", "COM2"});
    EXPECT_EQ(unset.ports.action, PortsAction::Unset);
    EXPECT_EQ(unset.ports.com, 2);
    EXPECT_FALSE(unset.ports.system);

    struct SaveCase {
        std::vector<std::string> args;
        bool save;
        int saveAs;
    };
    for (const SaveCase& c :
         {SaveCase{{"detect", "--all"}, false, 0}, SaveCase{{"detect", "--all", "--save"}, true, 0},
          SaveCase{{"detect", "--save", "com3", "--all"}, true, 3},
          SaveCase{{"detect", "--all", "--save=COM4"}, true, 4}}) {
        const Options o = accepted(c.args);
        EXPECT_TRUE(o.detect.all);
        EXPECT_EQ(o.detect.save, c.save);
        EXPECT_EQ(o.detect.saveAs, c.saveAs);
    }
    EXPECT_FALSE(accepted({"detect"}).detect.all);
}

TEST(CommandLine, StreamDefaultsToHeadTrackingAndOptionsChooseTheRest) {
    struct Case {
        std::vector<std::string> extra;
        bool continuous, checksum, ascii;
        int rate, speed;
        bool reconnect;
    };
    const Case cases[] = {
        {{}, true, true, false, 75, 9600, true},
        {{"--no-checksum"}, true, false, false, 75, 9600, true},
        {{"--ascii"}, true, false, true, 75, 9600, true},
        {{"--request"}, false, true, false, 75, 9600, true},
        {{"--rate", "40", "--speed", "19200", "--no-reconnect"},
         true,
         true,
         false,
         40,
         19200,
         false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"stream", "--port", "COM1"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        SCOPED_TRACE(testing::PrintToString(args));
        const Options o = accepted(args);
        EXPECT_EQ(o.modes.continuous, c.continuous);
        EXPECT_EQ(o.modes.checksum, c.checksum);
        EXPECT_EQ(o.modes.ascii, c.ascii);
        EXPECT_EQ(o.modes.rate, c.rate);
        EXPECT_EQ(o.modes.speed, c.speed);
        EXPECT_EQ(o.reconnect, c.reconnect);
    }
    EXPECT_EQ(accepted({"read", "--port", "COM1", "--speed", "19200"}).modes.speed, 19200);
}

TEST(CommandLine, HelpWinsOnEverySubcommandEvenOverMistakes) {
    for (const char* sub : {"detect", "version", "read", "stream", "reset", "ports"}) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{sub, "--help"}, {sub, "--bogus", "-h"}}) {
            const ParseResult r = parse(args);
            const ShowHelp* help = std::get_if<ShowHelp>(&r);
            ASSERT_NE(help, nullptr) << sub;
            EXPECT_EQ(help->text.rfind(std::string("usage: vexlink ") + sub, 0), 0u) << help->text;
        }
    }
    EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"--help"})));
}

struct Refusal {
    std::vector<std::string> args;
    const char* reasonContains;
};
void PrintTo(const Refusal& r, std::ostream* os) { *os << r.reasonContains; }

class CommandLineRefuses : public testing::TestWithParam<Refusal> {};

TEST_P(CommandLineRefuses, WithAOneLineReason) {
    const ParseResult r = parse(GetParam().args);
    const UsageError* e = std::get_if<UsageError>(&r);
    ASSERT_NE(e, nullptr);
    EXPECT_NE(e->message.find(GetParam().reasonContains), std::string::npos) << e->message;
    EXPECT_EQ(e->message.find('\n'), std::string::npos) << e->message;
}

INSTANTIATE_TEST_SUITE_P(
    BadArguments, CommandLineRefuses,
    testing::Values(
        Refusal{{}, "no subcommand"}, Refusal{{"fly"}, "unknown subcommand 'fly'"},
        Refusal{{"read"}, "--port is required"}, Refusal{{"version", "--port"}, "needs a value"},
        Refusal{{"read", "--port", "COM1", "--speed", "9"}, "--speed wants 9600 or 19200, not '9'"},
        Refusal{{"stream", "--port", "COM1", "--request", "--rate", "40"},
                "only with --continuous"},
        Refusal{{"stream", "--port", "COM1", "--checksum", "--no-checksum"}, "not both"},
        Refusal{{"stream", "--port", "COM1", "--ascii", "--checksum"}, "binary frames only"},
        Refusal{{"version", "--port", "COM1", "--no-reconnect"}, "does not apply here"},
        Refusal{{"read", "--port", "COM1", "extra"}, "unexpected argument 'extra'"},
        Refusal{{"reset", "--port", "COM1", "--count", "3"}, "does not apply"},
        Refusal{{"detect", "--port", "COM1"}, "does not apply"},
        Refusal{{"read", "--port", "--ascii=yes"}, "COM1 to COM4"},
        Refusal{{"read", "--port", "COM1", "--ascii=yes"}, "takes no value"},
#if defined(_WIN32)
        Refusal{{"read", "--port", "COM256"}, "COM1 to COM4"},
        Refusal{{"read", "--port", "COM05"}, "COM1 to COM4"},
        Refusal{{"read", "--port", "/dev/ttyUSB0"}, "COM1 to COM4"},
#else
        Refusal{{"read", "--port", "COM5"}, "COM1 to COM4"},
#endif
        Refusal{{"read", "--port", "ttyS0"}, "device path"},
        Refusal{{"read", "--port", "COM1", "--continuous", "--rate", "42"}, "steps of 5"},
        Refusal{{"read", "--port", "COM1", "--continuous", "--rate", "0"}, "steps of 5"},
        Refusal{{"read", "--port", "COM1", "--continuous", "--rate", "80"}, "steps of 5"},
        Refusal{{"read", "--port", "COM1", "--rate", "40"}, "only with --continuous"},
        Refusal{{"read", "--port", "COM1", "--count", "0"}, "positive whole number"},
        Refusal{{"read", "--port", "COM1", "--count", "-3"}, "positive whole number"},
        Refusal{{"read", "--port", "COM1", "--count", "3x"}, "positive whole number"},
        Refusal{{"read", "--port", "COM1", "--seconds", "-1"}, "positive number of seconds"},
        Refusal{{"read", "--port", "COM1", "--seconds", "inf"}, "positive number of seconds"},
        Refusal{{"read", "--port", "COM1", "--seconds", "0"}, "positive number of seconds"},
        Refusal{{"read", "--port", "COM1", "--count", "3", "--seconds", "1"}, "not both"},
        Refusal{{"read", "--port", "COM1", "--format", "xml"}, "csv or jsonl"},
        Refusal{{"read", "--port", "COM1", "--ascii", "--checksum"}, "binary frames only"},
        Refusal{{"stream", "--port", "COM1", "--udp", "127.0.0.1"}, "HOST:PORT"},
        Refusal{{"stream", "--port", "COM1", "--udp", "127.0.0.1:0"}, "HOST:PORT"},
        Refusal{{"stream", "--port", "COM1", "--udp", "127.0.0.1:65536"}, "HOST:PORT"},
        Refusal{{"stream", "--port", "COM1", "--udp", ":4242"}, "HOST:PORT"},
        Refusal{{"stream", "--port", "COM1", "--udp", "::1:4242"}, "HOST:PORT"},
        Refusal{{"stream", "--port", "COM1", "--format", "csv"}, "does not apply"},
        Refusal{{"ports", "--format", "csv"}, "table or jsonl"},
        Refusal{{"ports", "--system"}, "--system applies to set and unset"},
        Refusal{{"ports", "set", "COM1"}, "usage: vexlink ports set"},
        Refusal{{"ports", "unset", "COM1", "/dev/x"}, "usage: vexlink ports unset"},
        Refusal{{"ports", "set", "COM1", "/dev/x", "--format", "jsonl"}, "listing only"},
        Refusal{{"ports", "--port", "COM1"}, "does not apply"},
        Refusal{{"detect", "--all", "--save=COM5"}, "--save wants COM1 to COM4"},
        Refusal{{"detect", "--save", "COM2"}, "only with --all"}),
    [](const testing::TestParamInfo<Refusal>& info) {
        std::string name = "Case" + std::to_string(info.index);
        for (const std::string& arg : info.param.args) {
            name += '_';
            for (char ch : arg) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        }
        return name;
    });

TEST(CommandLine, EndpointsWithNamesAndBracketedAddresses) {
    struct Case {
        const char* text;
        const char* host;
        int port;
    };
    for (const Case& c : {Case{"127.0.0.1:4242", "127.0.0.1", 4242},
                          Case{"localhost:1", "localhost", 1}, Case{"[::1]:65535", "::1", 65535}}) {
        std::optional<Endpoint> e = parseEndpoint(c.text);
        ASSERT_TRUE(e.has_value()) << c.text;
        EXPECT_EQ(e->host, c.host);
        EXPECT_EQ(e->port, c.port);
    }
    EXPECT_FALSE(parseEndpoint("[::1]4242").has_value());
}
