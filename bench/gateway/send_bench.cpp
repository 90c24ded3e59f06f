// Measures the gateway control against qwirl-sandbox on 127.0.0.1:
//  - 1,000 sequential Send calls against a bare libcurl loop that posts the same 1,000 bodies with a new
//    connection each, in the same run (target: at most 1.10 times the bare loop);
//  - resident memory after 10,000 calls against that after 100 (target: at most 1 MiB more).
// Usage: qwirl_send_bench [--runs N]   (exit status 1 when a target is missed)

#include "sandbox_process.h"

#include "qwirl/control.h"
#include "qwirl/cp1252.h"
#include "qwirl/request_builder.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int Calls = 1000;
constexpr int RssEarly = 100;
constexpr int RssLate = 10000;
constexpr const char* Login = "bench";
constexpr const char* Password = "bench-pw";
constexpr const char* Sender = "Parlix";

struct Message
{
    std::string number;
    std::string text;
};

std::vector<Message> messages()
{
    std::vector<Message> list;
    for (int i = 0; i < Calls; ++i) {
        list.push_back({"+39333" + std::to_string(1000000 + i), "Messaggio di prova n. " + std::to_string(i) +
                                                                    ": è tutto a posto, ci vediamo alle 8!"});
    }
    return list;
}

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

size_t discard(char*, size_t size, size_t count, void* answer)
{
    static_cast<std::string*>(answer)->append(size * count, 'x');
    return size * count;
}

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double controlLoop(qwirl::Control& control, const std::vector<Message>& list, int& failures)
{
    const auto start = std::chrono::steady_clock::now();
    for (const Message& m : list) {
        failures += control.Send(m.number, m.text) != 0;
    }
    return seconds(std::chrono::steady_clock::now() - start);
}

// The baseline: the same bodies, posted by plain libcurl with a new easy handle (and connection) each.
double bareLoop(const std::string& url, const std::vector<std::string>& bodies, int& failures)
{
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded");
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& body : bodies) {
        CURL* h = curl_easy_init();
        std::string answer;
        curl_easy_setopt(h, CURLOPT_URL, url.c_str());
        curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
        curl_easy_setopt(h, CURLOPT_USERAGENT, "Brevitor 1.0X");
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &discard);
        curl_easy_setopt(h, CURLOPT_WRITEDATA, &answer);
        failures += curl_easy_perform(h) != CURLE_OK || answer.empty();
        curl_easy_cleanup(h);
    }
    const double elapsed = seconds(std::chrono::steady_clock::now() - start);
    curl_slist_free_all(headers);
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 5;
    if (argc == 3 && std::string(argv[1]) == "--runs") {
        runs = std::max(1, std::atoi(argv[2]));
    }
    curl_global_init(CURL_GLOBAL_DEFAULT);
    const qwirl::testing::SandboxProcess sandbox(
        {"--login", Login, "--password", Password, "--credit", "2000000000"});

    qwirl::Control control(qwirl::Hosts::both(sandbox.host()));
    control.setLogin(Login);
    control.setPassword(Password);
    control.setSender(Sender);
    const std::vector<Message> list = messages();
    int failures = 0;

    // Memory first, while the process has done nothing else.
    for (int i = 0; i < RssEarly; ++i) {
        failures += control.Send(list[i % Calls].number, list[i % Calls].text) != 0;
    }
    const long rssEarly = residentKiB();
    for (int i = RssEarly; i < RssLate; ++i) {
        failures += control.Send(list[i % Calls].number, list[i % Calls].text) != 0;
    }
    const long rssLate = residentKiB();

    std::vector<std::string> bodies;
    for (const Message& m : list) {
        const qwirl::MessageFields fields{Login,   "TEXT", m.number, Sender, qwirl::Cp1252::fromUtf8(m.text),
                                          Password};
        bodies.push_back(qwirl::RequestBuilder::sendBody(fields, 2));
    }
    const std::string url = "http://" + sandbox.host() + "/sms-gw/sendsmart";

    std::vector<double> controlTimes;
    std::vector<double> bareTimes;
    for (int run = 0; run < runs; ++run) {
        controlTimes.push_back(controlLoop(control, list, failures));
        bareTimes.push_back(bareLoop(url, bodies, failures));
    }
    const double controlMedian = median(controlTimes);
    const double bareMedian = median(bareTimes);
    const double ratio = controlMedian / bareMedian;
    const long growth = rssLate - rssEarly;

    std::printf("1,000 sequential Send:        median %.3f s over %d runs\n", controlMedian, runs);
    std::printf("1,000 bare libcurl posts:     median %.3f s over %d runs\n", bareMedian, runs);
    std::printf("ratio Send / bare libcurl:    %.3f (target <= 1.10)\n", ratio);
    std::printf("RSS after %d calls:          %ld KiB\n", RssEarly, rssEarly);
    std::printf("RSS after %d calls:        %ld KiB (growth %ld KiB, target <= 1024 KiB)\n", RssLate, rssLate,
                growth);
    std::printf("failed exchanges:             %d\n", failures);
    const bool met = ratio <= 1.10 && growth <= 1024 && failures == 0;
    std::printf("%s\n", met ? "targets met" : "TARGETS MISSED");
    return met ? 0 : 1;
}
