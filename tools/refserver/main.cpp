// refserver: the local stand-in for the vendor's app API and for the download host.
//   refserver [--port N] [--catalogue FILE] [--files DIR]
// Listens on 127.0.0.1 only; --port 0 picks a free port. Prints one line
// "refserver listening on http://127.0.0.1:PORT" when ready; SIGINT or SIGTERM stop it.
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "api.h"
#include "catalogue.h"
#include "connection.h"
#include "echo.h"
#include "files.h"

namespace {

constexpr char kHost[] = "127.0.0.1";
constexpr int kDefaultPort = 8731;
constexpr size_t kThreads = 32;

struct Options {
  int port = kDefaultPort;
  std::string catalogue = REFSERVER_DEFAULT_CATALOGUE;
  std::string files;
};

int Usage(const char* problem) {
  std::fprintf(stderr,
               "refserver: %s\n"
               "usage: refserver [--port N] [--catalogue FILE] [--files DIR]\n",
               problem);
  return 2;
}

bool ParseOptions(int argc, char** argv, Options* o, std::string* problem) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg != "--port" && arg != "--catalogue" && arg != "--files") {
      *problem = "unknown argument " + arg;
      return false;
    }
    if (i + 1 >= argc) {
      *problem = arg + " needs a value";
      return false;
    }
    const std::string value = argv[++i];
    if (arg == "--port") {
      char* end = nullptr;
      const long port = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || port < 0 || port > 65535) {
        *problem = "--port must be a number from 0 to 65535";
        return false;
      }
      o->port = static_cast<int>(port);
    } else if (arg == "--catalogue") {
      o->catalogue = value;
    } else {
      struct stat st {};
      if (stat(value.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *problem = "--files " + value + " is not a folder";
        return false;
      }
      o->files = value;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string problem;
  if (!ParseOptions(argc, argv, &options, &problem)) return Usage(problem.c_str());

  refserver::Catalogue catalogue;
  if (!refserver::LoadCatalogue(options.catalogue, &catalogue, &problem)) {
    std::fprintf(stderr, "refserver: %s\n", problem.c_str());
    return 2;
  }
  if (!refserver::CheckApiReplies(catalogue, &problem)) {
    std::fprintf(stderr, "refserver: %s: %s\n", options.catalogue.c_str(), problem.c_str());
    return 2;
  }

  // Signals are taken by a thread of their own; every other thread blocks them. A shell
  // starts background jobs with SIGINT ignored, which would discard it: take the default back.
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  refserver::Server server;
  server.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  // SO_REUSEADDR only: the library's default adds SO_REUSEPORT, which lets a second server
  // take a port that is already in use.
  server.set_socket_options([](socket_t sock) {
    const int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  int port = options.port;
  if (port == 0) {
    port = server.bind_to_any_port(kHost);
  } else if (!server.bind_to_port(kHost, port)) {
    port = -1;
  }
  if (port <= 0) {
    std::fprintf(stderr, "refserver: cannot listen on %s:%d: %s\n", kHost, options.port,
                 std::strerror(errno));
    return 1;
  }
  const std::string origin = "http://" + std::string(kHost) + ":" + std::to_string(port);

  refserver::AddApiRoutes(server, catalogue, origin, options.files);
  refserver::AddFileRoutes(server, catalogue, options.files);
  refserver::AddEchoRoutes(server);
  server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
    std::fprintf(stderr, "refserver: %s %s %d\n", req.method.c_str(), req.target.c_str(),
                 res.status);
  });

  std::atomic<bool> done{false};
  std::thread signal_thread([&] {
    const timespec slice{0, 100 * 1000 * 1000};
    while (!done) {
      if (sigtimedwait(&stop_signals, nullptr, &slice) > 0) {
        // stop() does nothing until the accept loop runs; repeat until it has ended.
        while (!done) {
          server.stop();
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
      }
    }
  });

  std::printf("refserver listening on %s\n", origin.c_str());
  std::fflush(stdout);
  server.listen_after_bind();
  done = true;
  signal_thread.join();
  std::fprintf(stderr, "refserver: stopped\n");
  return 0;
}
