#include "music/gst_music_player.h"

#include <gst/gst.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <mutex>
#include <thread>
#include <utility>

namespace orvane::music {

namespace {

// playbin's "flags": audio only, so a file that also holds pictures opens no window.
constexpr guint kPlayAudioOnly = 0x2;
// A file that ends this soon after each start has nothing to loop over.
constexpr auto kShortestRound = std::chrono::milliseconds(100);
constexpr int kEmptyRoundsAllowed = 3;

// The path as one line of text, whatever bytes it holds.
std::string Printable(const std::string& text) {
  std::string out;
  for (const char c : text) out += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
  return out;
}

std::string FirstLine(const char* text) {
  std::string line = text ? text : "unknown error";
  const std::size_t end = line.find('\n');
  if (end != std::string::npos) line.erase(end);
  return line;
}

// What is wrong with the path before GStreamer is asked, in words a user knows.
std::string ProblemWithFile(const std::string& path) {
  struct stat info = {};
  if (stat(path.c_str(), &info) != 0) return "no such file";
  if (S_ISDIR(info.st_mode)) return "it is a folder, not a sound file";
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  if (access(path.c_str(), R_OK) != 0) return "the file cannot be read (permissions)";
  return {};
}

}  // namespace

struct GstMusicPlayer::State {
  std::string path;
  std::function<void(const std::string& line)> report;
  std::thread thread;

  std::mutex mutex;  // guards stopping and loop between the two threads
  bool stopping = false;
  GMainLoop* loop = nullptr;  // published while the loop may run

  // Used on the player's thread only.
  GstElement* playbin = nullptr;
  GstElement* audioSink = nullptr;  // owned by playbin
  bool outputChecked = false;
  std::string lastWarning;
  bool reported = false;
  int emptyRounds = 0;
  std::chrono::steady_clock::time_point roundStart;

  void Report(const std::string& why) {
    if (reported) return;
    reported = true;
    report("music '" + Printable(path) + "' stays silent: " + Printable(why));
  }

  // Silence for good: the stream goes, the loop stays until Stop().
  void GiveUp(const std::string& why) {
    Report(why);
    gst_element_set_state(playbin, GST_STATE_NULL);
  }

  void StartRound() {
    roundStart = std::chrono::steady_clock::now();
    if (gst_element_seek_simple(playbin, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, 0)) return;
    // A stream that cannot seek starts over from its beginning.
    gst_element_set_state(playbin, GST_STATE_READY);
    gst_element_set_state(playbin, GST_STATE_PLAYING);
  }

  void OnMessage(GstMessage* message) {
    switch (GST_MESSAGE_TYPE(message)) {
      case GST_MESSAGE_EOS:
        if (std::chrono::steady_clock::now() - roundStart < kShortestRound) {
          if (++emptyRounds >= kEmptyRoundsAllowed) return GiveUp("the file holds no sound");
        } else {
          emptyRounds = 0;
        }
        StartRound();
        break;
      case GST_MESSAGE_WARNING: {
        GError* warning = nullptr;
        gst_message_parse_warning(message, &warning, nullptr);
        if (lastWarning.empty()) lastWarning = FirstLine(warning ? warning->message : nullptr);
        if (warning) g_error_free(warning);
        break;
      }
      case GST_MESSAGE_STATE_CHANGED: {
        GstState old, now, pending;
        gst_message_parse_state_changed(message, &old, &now, &pending);
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(playbin) && now == GST_STATE_PLAYING &&
            !outputChecked) {
          outputChecked = true;
          if (PlaysIntoNothing())
            GiveUp("no sound server or sound device" +
                   (lastWarning.empty() ? std::string() : " (" + lastWarning + ")"));
        }
        break;
      }
      case GST_MESSAGE_ERROR: {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        GiveUp(FirstLine(error ? error->message : nullptr));
        if (error) g_error_free(error);
        break;
      }
      default:
        break;
    }
  }

  // Without a sound server or device the automatic output falls back to a
  // sink that throws the sound away; that is silence the user should hear of.
  bool PlaysIntoNothing() const {
    if (!audioSink) return false;
    bool nothing = false;
    GstIterator* children = gst_bin_iterate_elements(GST_BIN(audioSink));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(children, &item) == GST_ITERATOR_OK) {
      GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&item)));
      if (factory && g_strcmp0(gst_plugin_feature_get_name(factory), "fakesink") == 0)
        nothing = true;
      g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(children);
    return nothing;
  }

  static gboolean OnBusMessage(GstBus*, GstMessage* message, gpointer self) {
    static_cast<State*>(self)->OnMessage(message);
    return G_SOURCE_CONTINUE;
  }

  void Run() {
    if (const std::string problem = ProblemWithFile(path); !problem.empty()) return Report(problem);
    GError* error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
      Report("GStreamer cannot start: " + FirstLine(error ? error->message : nullptr));
      if (error) g_error_free(error);
      return;
    }
    gchar* uri = gst_filename_to_uri(path.c_str(), &error);
    if (!uri) {
      Report(FirstLine(error ? error->message : nullptr));
      if (error) g_error_free(error);
      return;
    }
    playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin) {
      g_free(uri);
      return Report("GStreamer's playbin is missing (gstreamer1.0-plugins-base)");
    }
    g_object_set(playbin, "uri", uri, "flags", kPlayAudioOnly, nullptr);
    // The output playbin would choose anyway, made here so that its choice can be seen.
    audioSink = gst_element_factory_make("autoaudiosink", nullptr);
    if (audioSink) g_object_set(playbin, "audio-sink", audioSink, nullptr);
    g_free(uri);

    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    GMainLoop* mainLoop = g_main_loop_new(context, FALSE);
    GstBus* bus = gst_element_get_bus(playbin);
    GSource* watch = gst_bus_create_watch(bus);
    g_source_set_callback(watch, G_SOURCE_FUNC(OnBusMessage), this, nullptr);
    g_source_attach(watch, context);

    bool run = false;
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (!stopping) {
        loop = mainLoop;
        run = true;
      }
    }
    if (run) {
      roundStart = std::chrono::steady_clock::now();
      gst_element_set_state(playbin, GST_STATE_PLAYING);  // a failure arrives on the bus
      g_main_loop_run(mainLoop);
    }
    {
      std::lock_guard<std::mutex> lock(mutex);
      loop = nullptr;
    }
    gst_element_set_state(playbin, GST_STATE_NULL);  // closes the sound server's stream
    g_source_destroy(watch);
    g_source_unref(watch);
    gst_object_unref(bus);
    gst_object_unref(playbin);
    playbin = nullptr;
    audioSink = nullptr;
    g_main_loop_unref(mainLoop);
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
  }
};

GstMusicPlayer::GstMusicPlayer(std::string path,
                               std::function<void(const std::string& line)> report)
    : state_(std::make_unique<State>()) {
  state_->path = std::move(path);
  state_->report = std::move(report);
  // The stop signals belong to the drawing thread, whose wait they cut short; the
  // player's thread and those GStreamer starts from it inherit this mask.
  sigset_t stopSignals, before;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, &before);
  state_->thread = std::thread([state = state_.get()] { state->Run(); });
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

GstMusicPlayer::~GstMusicPlayer() { Stop(); }

void GstMusicPlayer::Stop() {
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->stopping = true;
    // Quit from inside the loop: a quit that came before the loop began to run would be lost.
    if (state_->loop) {
      GSource* quit = g_idle_source_new();
      g_source_set_callback(
          quit,
          [](gpointer loop) -> gboolean {
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
            return G_SOURCE_REMOVE;
          },
          state_->loop, nullptr);
      g_source_attach(quit, g_main_loop_get_context(state_->loop));
      g_source_unref(quit);
    }
  }
  if (state_->thread.joinable()) state_->thread.join();
}

}  // namespace orvane::music
