#include "platform/SdlSoundEngine.h"

#include <QLibrary>
#include <QMetaObject>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zv {

namespace {

constexpr std::uint32_t kInitAudio = 0x10;       // SDL_INIT_AUDIO
constexpr std::uint16_t kFloatSamples = 0x8120;  // AUDIO_F32SYS on a little-endian machine
constexpr std::uint16_t kShortSamples = 0x8010;  // AUDIO_S16SYS
constexpr int kInitOpus = 0x40;                  // MIX_INIT_OPUS
constexpr int kRate = 44100;
constexpr int kFrames = 1024;  // about 23 ms a buffer
constexpr int kChannels = 2;   // speech and built-in

std::atomic<SdlSoundEngine*> g_started{nullptr};

int Index(SoundChannel channel) { return channel == SoundChannel::Speech ? 0 : 1; }

}  // namespace

struct SdlSoundEngine::Api {
  QLibrary sdl;
  QLibrary mixer;
  int (*InitSubSystem)(std::uint32_t) = nullptr;
  void (*QuitSubSystem)(std::uint32_t) = nullptr;
  void* (*RWFromConstMem)(const void*, int) = nullptr;
  int (*MixInit)(int) = nullptr;
  void (*MixQuit)() = nullptr;
  int (*OpenAudio)(int, std::uint16_t, int, int) = nullptr;
  void (*CloseAudio)() = nullptr;
  int (*QuerySpec)(int*, std::uint16_t*, int*) = nullptr;
  int (*AllocateChannels)(int) = nullptr;
  void* (*LoadWavRw)(void*, int) = nullptr;
  void (*FreeChunk)(void*) = nullptr;
  int (*PlayChannelTimed)(int, void*, int, int) = nullptr;
  int (*HaltChannel)(int) = nullptr;
  int (*Playing)(int) = nullptr;
  int (*Volume)(int, int) = nullptr;
  void (*ChannelFinished)(void (*)(int)) = nullptr;

  template <typename F>
  static bool Bind(QLibrary& library, const char* name, F& entry) {
    entry = reinterpret_cast<F>(library.resolve(name));
    return entry != nullptr;
  }

  bool Load(const QString& sdlName, const QString& mixerName) {
    sdl.setFileName(sdlName);
    mixer.setFileName(mixerName);
    if (!sdl.load() || !mixer.load()) return false;
    return Bind(sdl, "SDL_InitSubSystem", InitSubSystem) && Bind(sdl, "SDL_QuitSubSystem", QuitSubSystem) &&
           Bind(sdl, "SDL_RWFromConstMem", RWFromConstMem) && Bind(mixer, "Mix_Init", MixInit) &&
           Bind(mixer, "Mix_Quit", MixQuit) && Bind(mixer, "Mix_OpenAudio", OpenAudio) &&
           Bind(mixer, "Mix_CloseAudio", CloseAudio) && Bind(mixer, "Mix_QuerySpec", QuerySpec) &&
           Bind(mixer, "Mix_AllocateChannels", AllocateChannels) && Bind(mixer, "Mix_LoadWAV_RW", LoadWavRw) &&
           Bind(mixer, "Mix_FreeChunk", FreeChunk) && Bind(mixer, "Mix_PlayChannelTimed", PlayChannelTimed) &&
           Bind(mixer, "Mix_HaltChannel", HaltChannel) && Bind(mixer, "Mix_Playing", Playing) &&
           Bind(mixer, "Mix_Volume", Volume) && Bind(mixer, "Mix_ChannelFinished", ChannelFinished);
  }
};

SdlSoundEngine::SdlSoundEngine(QString sdlLibrary, QString mixerLibrary)
    : m_sdlName(std::move(sdlLibrary)), m_mixerName(std::move(mixerLibrary)) {}

SdlSoundEngine::~SdlSoundEngine() { Free(); }

int SdlSoundEngine::MixerVolume(int volume) {
  return std::clamp(static_cast<int>(std::lround(volume * 128.0 / 10000.0)), 0, 128);
}

bool SdlSoundEngine::Start() {
  if (m_started) return true;
  SdlSoundEngine* none = nullptr;
  if (!g_started.compare_exchange_strong(none, this)) return false;  // one mixer per process
  auto api = std::make_unique<Api>();
  if (!api->Load(m_sdlName, m_mixerName) || api->InitSubSystem(kInitAudio) != 0) {
    g_started = nullptr;
    return false;
  }
  api->MixInit(kInitOpus);  // without Opus support WAV still plays
  if (api->OpenAudio(kRate, kFloatSamples, 2, kFrames) != 0 && api->OpenAudio(kRate, kShortSamples, 2, kFrames) != 0) {
    api->MixQuit();
    api->QuitSubSystem(kInitAudio);
    g_started = nullptr;
    return false;
  }
  int rate = 0;
  int outputs = 0;
  std::uint16_t format = 0;
  api->QuerySpec(&rate, &format, &outputs);
  m_floatOutput = format == kFloatSamples;
  api->AllocateChannels(kChannels);
  api->ChannelFinished(&SdlSoundEngine::ChannelFinished);
  m_api = std::move(api);
  m_started = true;
  return true;
}

void SdlSoundEngine::SetVolume(int volume) {
  if (m_started) m_api->Volume(-1, MixerVolume(volume));
}

void SdlSoundEngine::Halt(int channel) {
  const auto c = static_cast<std::size_t>(channel);
  // Cleared first: the halt below reports the end synchronously, and it must not count.
  m_reportable[c] = 0;
  m_current[c] = 0;
  m_api->HaltChannel(channel);
  if (m_chunks[c] != nullptr) {
    m_api->FreeChunk(m_chunks[c]);
    m_chunks[c] = nullptr;
  }
}

std::uint64_t SdlSoundEngine::Play(SoundChannel channel, QByteArrayView sound) {
  if (!m_started) return 0;
  const int c = Index(channel);
  Halt(c);
  if (sound.isEmpty() || sound.size() > std::numeric_limits<int>::max()) return 0;
  void* source = m_api->RWFromConstMem(sound.data(), static_cast<int>(sound.size()));
  if (source == nullptr) return 0;
  void* chunk = m_api->LoadWavRw(source, 1);  // decodes the whole sound; frees the source
  if (chunk == nullptr) return 0;
  const std::uint64_t play = ++m_nextPlay;
  const auto i = static_cast<std::size_t>(c);
  m_chunks[i] = chunk;
  m_current[i] = play;
  m_reportable[i] = play;
  if (m_api->PlayChannelTimed(c, chunk, 0, -1) < 0) {
    Halt(c);
    return 0;
  }
  return play;
}

bool SdlSoundEngine::IsPlaying(SoundChannel channel) const {
  const int c = Index(channel);
  return m_started && m_current[static_cast<std::size_t>(c)] != 0 && m_api->Playing(c) != 0;
}

void SdlSoundEngine::Stop(SoundChannel channel) {
  if (m_started) Halt(Index(channel));
}

void SdlSoundEngine::SetEndHandler(EndHandler handler) { m_onEnd = std::move(handler); }

void SdlSoundEngine::ChannelFinished(int channel) {
  // The mixer's thread, or the UI thread inside a halt: read, post, return.
  SdlSoundEngine* self = g_started.load();
  if (self == nullptr || channel < 0 || channel >= kChannels) return;
  const std::uint64_t play = self->m_reportable[static_cast<std::size_t>(channel)].load();
  if (play == 0) return;
  QMetaObject::invokeMethod(
      self, [self, channel, play] { self->Ended(channel, play); }, Qt::QueuedConnection);
}

void SdlSoundEngine::Ended(int channel, std::uint64_t play) {
  const auto c = static_cast<std::size_t>(channel);
  if (!m_started || m_current[c] != play) return;  // stopped or replaced since
  Halt(channel);  // frees the chunk; the channel has ended already, so nothing is reported
  if (m_onEnd) m_onEnd(channel == 0 ? SoundChannel::Speech : SoundChannel::BuiltIn, play);
}

void SdlSoundEngine::Free() {
  if (!m_started) return;
  for (int c = 0; c < kChannels; ++c) Halt(c);
  m_api->ChannelFinished(nullptr);
  m_api->CloseAudio();
  m_api->MixQuit();
  m_api->QuitSubSystem(kInitAudio);
  m_started = false;
  g_started = nullptr;
}

}  // namespace zv
