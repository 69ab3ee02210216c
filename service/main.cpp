// kivtal-service: serves the client's API and web pages on a loopback address, or runs
// one operator command against its database and exits.
#include <sys/stat.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <thread>

#include "HttpServer.h"
#include "Operator.h"
#include "Service.h"

namespace {

// SIGINT and SIGTERM are taken by a thread of their own rather than a handler, so the
// server is stopped outside signal context.
sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kivtal::service;
    std::string error;
    const auto cl = ParseCommandLine(argc, argv, error);
    if (!cl) {
        std::cerr << error << "\n" << Usage();
        return 2;
    }
    // The database, its journal and the uploaded cards are the users' data: nobody
    // else on the machine reads them.
    ::umask(077);
    try {
        // A folder someone else made keeps the modes they gave it.
        const std::filesystem::path data = DataDir(*cl);
        const std::filesystem::path file = IsPostgresAddress(cl->db) ? "" : std::filesystem::path(cl->db).parent_path();
        for (const auto& folder : {data, file}) {
            if (!folder.empty() && std::filesystem::create_directories(folder)) ::chmod(folder.c_str(), 0700);
        }
        Service service(cl->db, OptionsOf(*cl), data);
        if (!cl->command.empty()) return RunOperatorCommand(service, *cl, std::cout, std::cerr);
        // The demo account's password is public: a service only has it when asked.
        if (cl->options.count("--demo") && service.ensureDemoAccount()) {
            service.seedDemoBook(std::time(nullptr));
            std::cout << "created the demo account " << kDemoLogin << " / " << kDemoPassword << " with its demo book"
                      << std::endl;
        }
        HttpServer server(service);
        if (const auto url = cl->options.find("--public-url"); url != cl->options.end())
            server.setPublicUrl(url->second);
        const int port = server.bind(cl->host, cl->port);
        if (port < 0) {
            std::cerr << "cannot listen on " << cl->host << ":" << cl->port << "\n";
            return 1;
        }
        const sigset_t signals = StopSignals();
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);
        std::thread stopper([&server, signals] {
            int signal = 0;
            sigwait(&signals, &signal);
            server.stop();
        });
        std::cout << "listening on http://" << cl->host << ":" << port << std::endl;
        server.listen();
        // Wakes the stopper when listening ended for another reason; harmless otherwise.
        pthread_kill(stopper.native_handle(), SIGTERM);
        stopper.join();
    } catch (const std::exception& e) {
        std::cerr << "kivtal-service: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
