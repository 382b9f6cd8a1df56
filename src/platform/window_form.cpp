// The window form: an SDL window on the main thread showing the surface,
// keys from its events, a tone for the beep, and the logic on its own thread.
#include "platform/window_form.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/window_keys.h"
#include "platform/window_loss.h"
#include "platform/window_picture.h"
#include "screen/console.h"

namespace arrowgrid {

namespace {

constexpr int32_t BEEP_FREQUENCY = 1000;  // Hz
constexpr int32_t BEEP_MILLISECONDS = 250;

// Pictures handed from the logic thread to the window thread. The logic
// thread fills `writing` without the lock, then swaps it with `ready`; the
// window thread swaps `ready` with `showing`. Neither waits for more than a
// swap of two indices.
struct FrameExchange {
  std::mutex lock;
  std::array<PixelRows, 3> buffers{};
  int32_t writing = 0;  // logic thread's, filled outside the lock
  int32_t ready = 1;    // the newest complete picture
  int32_t showing = 2;  // window thread's, converted outside the lock
  bool fresh = false;   // `ready` holds a picture not yet shown
};

struct WindowForm {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  SDL_AudioDeviceID audio = 0;         // 0 when no audio device opened
  std::vector<int16_t> tone;           // the beep's samples, made once
  bool screenSaverWasEnabled = false;  // restored when the window closes
  uint32_t wakeEvent = 0;              // event type that wakes the window thread
  FrameExchange frames;
  PixelRows inTexture{};                      // window thread: what the texture holds
  uint64_t copiedChangeCount = ~uint64_t{0};  // logic thread: surface state last copied
  std::atomic<bool> endRequested{false};      // set by endProcess
  std::atomic<int32_t> endStatus{0};
};

void discardLogMessage(void*, int, SDL_LogPriority, const char*) {}

void destroyWindow(WindowForm& form) {
  if (form.texture) SDL_DestroyTexture(form.texture);
  if (form.renderer) SDL_DestroyRenderer(form.renderer);
  if (form.window) SDL_DestroyWindow(form.window);
  form.texture = nullptr;
  form.renderer = nullptr;
  form.window = nullptr;
}

bool createWindow(WindowForm& form, const std::string& title, uint32_t flags) {
  form.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, SURFACE_WIDTH,
                                 SURFACE_HEIGHT, flags);
  if (form.window) {
    form.renderer = SDL_CreateRenderer(form.window, -1, 0);
    if (!form.renderer) form.renderer = SDL_CreateRenderer(form.window, -1, SDL_RENDERER_SOFTWARE);
  }
  if (form.renderer) {
    // Palettized textures are refused by most renderers: indices become
    // colours on the way into this one.
    form.texture = SDL_CreateTexture(form.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                     SURFACE_WIDTH, SURFACE_HEIGHT);
  }
  if (form.texture) return true;
  destroyWindow(form);
  return false;
}

void openAudio(WindowForm& form) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  SDL_AudioSpec wanted{};
  wanted.freq = 44100;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 1;
  wanted.samples = 1024;
  SDL_AudioSpec obtained{};
  form.audio = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (form.audio == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  const int32_t samples = wanted.freq * BEEP_MILLISECONDS / 1000;
  form.tone.resize(static_cast<size_t>(samples));
  constexpr double TWO_PI = 6.283185307179586;
  for (int32_t i = 0; i < samples; ++i) {
    const double phase = TWO_PI * BEEP_FREQUENCY * i / wanted.freq;
    form.tone[static_cast<size_t>(i)] = static_cast<int16_t>(8000 * std::sin(phase));
  }
  SDL_PauseAudioDevice(form.audio, 0);
}

// Display and sound libraries report an unreachable server or a missing
// sound card on standard error; opening the window (or failing to) shows
// no message. Used only before the logic thread starts. Returns the saved
// descriptor for restoreStandardError, -1 when nothing was changed.
int muteStandardError() {
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  const int nowhere = open("/dev/null", O_WRONLY);
  if (saved >= 0 && nowhere >= 0) dup2(nowhere, STDERR_FILENO);
  if (nowhere >= 0) close(nowhere);
  if (saved >= 0 && nowhere < 0) {
    close(saved);
    return -1;
  }
  return saved;
}

void restoreStandardError(int saved) {
  if (saved < 0) return;
  dup2(saved, STDERR_FILENO);
  close(saved);
}

// SDL falls back to drivers that open no visible window (or, from a text
// console, take over the whole screen); only a desktop's will do.
bool startVideo() {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return true;
  SDL_Quit();
  return false;
}

void closeEverything(WindowForm& form) {
  destroyWindow(form);
  if (form.screenSaverWasEnabled) SDL_EnableScreenSaver();
  if (form.audio) SDL_CloseAudioDevice(form.audio);
  SDL_Quit();
}

// --- hooks, called on the logic thread ------------------------------------

void presentPicture(void* context, Console& console) {
  auto& form = *static_cast<WindowForm*>(context);
  paintPicture(console);
  // Only this thread changes the surface, so its count needs no lock here.
  if (console.surface.changeCount == form.copiedChangeCount) return;
  form.copiedChangeCount = console.surface.changeCount;
  FrameExchange& frames = form.frames;
  copyPixels(console.surface, frames.buffers[static_cast<size_t>(frames.writing)]);
  std::lock_guard<std::mutex> hold(frames.lock);
  std::swap(frames.writing, frames.ready);
  frames.fresh = true;
}

void playBeep(void* context) {
  auto& form = *static_cast<WindowForm*>(context);
  if (form.audio == 0) return;
  const auto bytes = static_cast<uint32_t>(form.tone.size() * sizeof(int16_t));
  if (SDL_GetQueuedAudioSize(form.audio) > 4 * bytes) return;  // don't pile up tones
  SDL_QueueAudio(form.audio, form.tone.data(), bytes);
}

void nothingToDo(void*, Console&) {}

void requestEnd(void* context, int32_t status) {
  auto& form = *static_cast<WindowForm*>(context);
  form.endStatus.store(status);
  form.endRequested.store(true);
  SDL_Event wake{};
  wake.type = form.wakeEvent;
  SDL_PushEvent(&wake);
  // The window thread closes the window and ends the process; this thread
  // must not go back into the program meanwhile.
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

// --- window thread ---------------------------------------------------------

void handleEvent(const SDL_Event& event, KeyQueue& keys, bool& repaint) {
  switch (event.type) {
    case SDL_QUIT:
      pushKey(keys, editingKey(KeyKind::CloseRequest));
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        pushKey(keys, editingKey(KeyKind::CloseRequest));
      } else {
        repaint = true;  // exposed, resized, maximised, restored: draw again
      }
      break;
    case SDL_KEYDOWN: {
      Key key;
      if (keyOfKeyDown(event.key.keysym.sym, event.key.keysym.mod, key)) pushKey(keys, key);
      break;
    }
    case SDL_TEXTINPUT:
      pushTextInput(keys, event.text.text);
      break;
    default:
      break;
  }
}

// Converts the rows of picture that differ from the texture into it: while
// a search runs, that is the trials line only.
bool updateTexture(WindowForm& form, const PixelRows& picture) {
  const RowBand band = changedRows(form.inTexture, picture);
  if (band.count == 0) return false;
  const SDL_Rect rows{0, band.first, SURFACE_WIDTH, band.count};
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(form.texture, &rows, &pixels, &pitch) != 0) return false;
  convertToArgb(picture, band.first, band.count, pixels, pitch);
  SDL_UnlockTexture(form.texture);
  const auto first = static_cast<ptrdiff_t>(band.first);
  std::copy(picture.begin() + first, picture.begin() + first + band.count, form.inTexture.begin() + first);
  return true;
}

// Takes the newest picture from the logic thread into the texture; false
// when there was none or it shows nothing new.
bool takeFreshPicture(WindowForm& form) {
  FrameExchange& frames = form.frames;
  {
    std::lock_guard<std::mutex> hold(frames.lock);
    if (!frames.fresh) return false;
    std::swap(frames.ready, frames.showing);
    frames.fresh = false;
  }
  return updateTexture(form, frames.buffers[static_cast<size_t>(frames.showing)]);
}

// The texture's content is undefined until written: make it all black.
void blackenTexture(WindowForm& form) {
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(form.texture, nullptr, &pixels, &pitch) != 0) return;
  convertToArgb(form.inTexture, 0, SURFACE_HEIGHT, pixels, pitch);
  SDL_UnlockTexture(form.texture);
}

void render(WindowForm& form) {
  int width = 0;
  int height = 0;
  SDL_GetRendererOutputSize(form.renderer, &width, &height);
  const PictureRect place = pictureRectIn(width, height);
  const SDL_Rect target{place.x, place.y, SURFACE_WIDTH * place.scale, SURFACE_HEIGHT * place.scale};
  SDL_SetRenderDrawColor(form.renderer, 0, 0, 0, 255);
  SDL_RenderClear(form.renderer);
  SDL_RenderCopy(form.renderer, form.texture, nullptr, &target);
  SDL_RenderPresent(form.renderer);
}

// The window (or a full-screen one), the screen saver, the sound; false
// when no window opened.
bool openWindow(WindowForm& form, const std::string& title) {
  if (!startVideo()) return false;
  if (!createWindow(form, title, SDL_WINDOW_RESIZABLE) &&
      !createWindow(form, title, SDL_WINDOW_FULLSCREEN_DESKTOP)) {
    SDL_Quit();
    return false;
  }
  SDL_SetWindowMinimumSize(form.window, SURFACE_WIDTH, SURFACE_HEIGHT);
  watchForWindowLoss(form.window);
  form.screenSaverWasEnabled = SDL_IsScreenSaverEnabled() == SDL_TRUE;
  SDL_DisableScreenSaver();
  form.wakeEvent = SDL_RegisterEvents(1);
  openAudio(form);
  SDL_StartTextInput();
  blackenTexture(form);
  render(form);  // black until the first picture
  return true;
}

std::chrono::nanoseconds refreshPeriod(SDL_Window* window) {
  SDL_DisplayMode mode{};
  int rate = 60;
  if (SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0) rate = mode.refresh_rate;
  rate = std::clamp(rate, 30, 240);
  return std::chrono::nanoseconds(1'000'000'000 / rate);
}

[[noreturn]] void serveWindow(WindowForm& form, Console& console) {
  using Clock = std::chrono::steady_clock;
  const auto period = refreshPeriod(form.window);
  auto nextFrame = Clock::now();
  bool repaint = true;
  for (;;) {
    // Rounded up: a wait rounded down to 0 would poll busily until the frame.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextFrame - Clock::now());
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(std::max<int64_t>(0, wait.count())))) {
      handleEvent(event, console.keys, repaint);
      while (SDL_PollEvent(&event)) handleEvent(event, console.keys, repaint);
    }
    if (form.endRequested.load()) {
      closeEverything(form);
      std::_Exit(form.endStatus.load());
    }
    const auto now = Clock::now();
    if (now < nextFrame) continue;
    nextFrame += period;
    if (nextFrame < now) nextFrame = now + period;
    console.platform.refreshWanted.store(true, std::memory_order_relaxed);
    if (takeFreshPicture(form)) repaint = true;
    if (repaint && !(SDL_GetWindowFlags(form.window) & SDL_WINDOW_MINIMIZED)) {
      render(form);
      repaint = false;
    }
  }
}

}  // namespace

bool displayAvailable() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

bool runInWindow(Console& console, const std::string& title, ProgramLogic logic, void* context) {
  // Ctrl+C in the console must end the process, not become a quit event.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Leave the screen saver as the system has it, so its setting can be read.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // The window is the program's only output: SDL says nothing on the console.
  SDL_LogSetOutputFunction(discardLogMessage, nullptr);

  // Lives until the process ends, like the program itself.
  auto* form = new WindowForm();
  const int savedError = muteStandardError();
  const bool opened = openWindow(*form, title);
  restoreStandardError(savedError);
  if (!opened) {
    delete form;
    return false;
  }

  PlatformLayer& platform = console.platform;
  platform.context = form;
  platform.lineInputStarting = nothingToDo;
  platform.waitingForKey = nothingToDo;
  platform.beep = playBeep;
  platform.present = presentPicture;
  platform.endProcess = requestEnd;

  std::thread logicThread([logic, context] {
    logic(context);
    std::abort();  // the logic ends the process itself and never comes back here
  });
  logicThread.detach();
  serveWindow(*form, console);
}

}  // namespace arrowgrid
