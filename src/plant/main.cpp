// tallion-plant: the plant database's pages for a browser, without a display.

#include "chartviews/SummaryChartFile.h"
#include "plant/PlantListener.h"
#include "plant/PlantOptions.h"
#include "plant/PlantServer.h"

#include <QApplication>
#include <QMetaObject>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.contains(QStringLiteral("--help"))) {
        std::fputs(kPlantUsage, stdout);
        return 0;
    }
    PlantOptions options;
    std::string message;
    if (const int status = ReadPlantOptions(arguments, options, message); status != 0) {
        std::fputs(message.c_str(), stderr);
        return status;
    }

    // SIGTERM and SIGINT are taken by one thread of their own; every other thread leaves them to it.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    // The charts are drawn by Qt Charts (a graphics scene), on this thread, with no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::unique_ptr<PlantLogin> login;
    if (!options.users.empty()) {
        PlantUsers users;
        if (!users.Read(options.users, message)) {
            std::fputs(message.c_str(), stderr);
            return 1;
        }
        login = std::make_unique<PlantLogin>(std::move(users));
    }

    PlantReader reader(options.conninfo);
    PlantServer server(
        reader,
        [&app](const SummaryChartData& data) {
            QByteArray svg;
            QMetaObject::invokeMethod(
                &app, [&] { svg = SummaryChartFileBytes(data, ChartFileFormat::Svg); }, Qt::BlockingQueuedConnection);
            return svg.toStdString();
        },
        options.tlsCert, options.tlsKey, std::move(login));
    if (!server.Valid()) {
        std::fprintf(stderr,
                     "tallion-plant: cannot use the TLS certificate %s with the key %s (PEM files, the key without a "
                     "passphrase, readable by this user)\n",
                     options.tlsCert.c_str(), options.tlsKey.c_str());
        return 1;
    }
    if (!server.Http().bind_to_port(options.host, options.port)) {
        std::fprintf(stderr, "tallion-plant: cannot listen on %s:%d (is another program using the port?)\n",
                     options.host.c_str(), options.port);
        return 1;
    }
    const char* scheme = options.tlsCert.empty() ? "http" : "https";
    std::fprintf(stdout, "tallion-plant: serving %s://%s:%d/\n", scheme, options.host.c_str(), options.port);
    std::fflush(stdout);

    PlantListener listener(options.conninfo, [&server](const std::set<std::string>& stations, bool all) {
        server.Streams().Refresh(stations, all);
    });
    listener.Start();

    std::atomic<bool> listening{true};
    std::thread serving([&] {
        server.Http().listen_after_bind();
        listening = false;
        // Handlers that wait for a chart have finished: the drawing thread may stop.
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        // A signal that comes before the server listens would find nothing to stop: ask again.
        while (listening) {
            server.Stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const int status = app.exec();
    serving.join();
    listener.Stop();
    // The server may have ended by itself: wake the signal thread.
    if (stopper.joinable()) {
        pthread_kill(stopper.native_handle(), SIGTERM);
        stopper.join();
    }
    std::fputs("tallion-plant: stopped\n", stdout);
    return status;
}
