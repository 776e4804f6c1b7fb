#include "platform/SdlSoundEngine.h"

#include <QLibrary>
#include <QMetaObject>

#include <algorithm>
#include <cmath>
#include <future>
#include <limits>

namespace zv {

namespace {

constexpr std::uint32_t kInitAudio = 0x10;       // SDL_INIT_AUDIO
constexpr std::uint16_t kFloatSamples = 0x8120;  // AUDIO_F32SYS on a little-endian machine
constexpr std::uint16_t kShortSamples = 0x8010;  // AUDIO_S16SYS
constexpr int kInitOpus = 0x40;                  // MIX_INIT_OPUS
constexpr int kRate = 48000;                     // the rate Opus decodes at: no resampling before the first buffer
constexpr int kFrames = 1024;                    // about 23 ms a buffer
constexpr int kChannels = 2;                     // speech (the mixer's music stream) and built-in (its channel 0)
constexpr int kSpeech = 0;
constexpr int kBuiltIn = 1;

std::atomic<SdlSoundEngine*> g_started{nullptr};
std::future<void> g_preload;  // waited for by Start(), and at exit if Start() never ran

int Index(SoundChannel channel) { return channel == SoundChannel::Speech ? kSpeech : kBuiltIn; }

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
  void* (*LoadMusRw)(void*, int) = nullptr;
  void (*FreeMusic)(void*) = nullptr;
  int (*PlayMusic)(void*, int) = nullptr;
  int (*HaltMusic)() = nullptr;
  int (*PlayingMusic)() = nullptr;
  int (*VolumeMusic)(int) = nullptr;
  void (*HookMusicFinished)(void (*)()) = nullptr;

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
           Bind(mixer, "Mix_Volume", Volume) && Bind(mixer, "Mix_ChannelFinished", ChannelFinished) &&
           Bind(mixer, "Mix_LoadMUS_RW", LoadMusRw) && Bind(mixer, "Mix_FreeMusic", FreeMusic) &&
           Bind(mixer, "Mix_PlayMusic", PlayMusic) && Bind(mixer, "Mix_HaltMusic", HaltMusic) &&
           Bind(mixer, "Mix_PlayingMusic", PlayingMusic) && Bind(mixer, "Mix_VolumeMusic", VolumeMusic) &&
           Bind(mixer, "Mix_HookMusicFinished", HookMusicFinished);
  }
};

SdlSoundEngine::SdlSoundEngine(QString sdlLibrary, QString mixerLibrary)
    : m_sdlName(std::move(sdlLibrary)), m_mixerName(std::move(mixerLibrary)) {}

SdlSoundEngine::~SdlSoundEngine() { Free(); }

int SdlSoundEngine::MixerVolume(int volume) {
  return std::clamp(static_cast<int>(std::lround(volume * 128.0 / 10000.0)), 0, 128);
}

void SdlSoundEngine::PreloadLibraries(const QString& sdlLibrary, const QString& mixerLibrary) {
  if (g_preload.valid()) return;
  g_preload = std::async(std::launch::async, [sdlLibrary, mixerLibrary] {
    // A loaded library stays loaded when its QLibrary goes; Start() then finds it mapped.
    QLibrary(sdlLibrary).load();
    QLibrary(mixerLibrary).load();
  });
}

bool SdlSoundEngine::Start() {
  if (m_started) return true;
  if (g_preload.valid()) g_preload.wait();
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
  api->AllocateChannels(1);
  api->ChannelFinished(&SdlSoundEngine::ChannelFinished);
  api->HookMusicFinished(&SdlSoundEngine::MusicFinished);
  m_api = std::move(api);
  m_started = true;
  return true;
}

void SdlSoundEngine::SetVolume(int volume) {
  if (!m_started) return;
  m_api->Volume(-1, MixerVolume(volume));
  m_api->VolumeMusic(MixerVolume(volume));
}

void SdlSoundEngine::Halt(int channel) {
  const auto c = static_cast<std::size_t>(channel);
  // Cleared first: the halt below reports the end synchronously, and it must not count.
  m_reportable[c] = 0;
  m_current[c] = 0;
  if (channel == kSpeech) {
    m_api->HaltMusic();
    if (m_chunks[c] != nullptr) m_api->FreeMusic(m_chunks[c]);
    m_speechSource.clear();  // the stream read it until now
  } else {
    m_api->HaltChannel(0);
    if (m_chunks[c] != nullptr) m_api->FreeChunk(m_chunks[c]);
  }
  m_chunks[c] = nullptr;
}

std::uint64_t SdlSoundEngine::Play(SoundChannel channel, QByteArrayView sound) {
  if (!m_started) return 0;
  const int c = Index(channel);
  Halt(c);
  if (sound.isEmpty() || sound.size() > std::numeric_limits<int>::max()) return 0;
  const auto i = static_cast<std::size_t>(c);
  // Speech is streamed: decoded buffer by buffer as it plays, so it starts at once; its bytes
  // must live as long as the stream. A built-in sound is short and decoded whole.
  QByteArray kept;
  if (c == kSpeech) kept = sound.toByteArray();
  void* source = m_api->RWFromConstMem(c == kSpeech ? kept.constData() : sound.data(), static_cast<int>(sound.size()));
  if (source == nullptr) return 0;
  void* decoded = c == kSpeech ? m_api->LoadMusRw(source, 1) : m_api->LoadWavRw(source, 1);
  if (decoded == nullptr) return 0;
  const std::uint64_t play = ++m_nextPlay;
  m_chunks[i] = decoded;
  if (c == kSpeech) m_speechSource = std::move(kept);
  m_current[i] = play;
  m_reportable[i] = play;
  const int result = c == kSpeech ? m_api->PlayMusic(decoded, 1) : m_api->PlayChannelTimed(0, decoded, 0, -1);
  if (result < 0) {
    Halt(c);
    return 0;
  }
  return play;
}

bool SdlSoundEngine::IsPlaying(SoundChannel channel) const {
  const int c = Index(channel);
  if (!m_started || m_current[static_cast<std::size_t>(c)] == 0) return false;
  return (c == kSpeech ? m_api->PlayingMusic() : m_api->Playing(0)) != 0;
}

void SdlSoundEngine::Stop(SoundChannel channel) {
  if (m_started) Halt(Index(channel));
}

void SdlSoundEngine::SetEndHandler(EndHandler handler) { m_onEnd = std::move(handler); }

void SdlSoundEngine::ChannelFinished(int channel) {
  if (channel == 0) Finished(kBuiltIn);
}

void SdlSoundEngine::MusicFinished() { Finished(kSpeech); }

void SdlSoundEngine::Finished(int channel) {
  // The mixer's thread, or the UI thread inside a halt: read, post, return.
  SdlSoundEngine* self = g_started.load();
  if (self == nullptr) return;
  const std::uint64_t play = self->m_reportable[static_cast<std::size_t>(channel)].load();
  if (play == 0) return;
  QMetaObject::invokeMethod(
      self, [self, channel, play] { self->Ended(channel, play); }, Qt::QueuedConnection);
}

void SdlSoundEngine::Ended(int channel, std::uint64_t play) {
  const auto c = static_cast<std::size_t>(channel);
  if (!m_started || m_current[c] != play) return;  // stopped or replaced since
  Halt(channel);  // frees the chunk; the channel has ended already, so nothing is reported
  if (m_onEnd) m_onEnd(channel == kSpeech ? SoundChannel::Speech : SoundChannel::BuiltIn, play);
}

void SdlSoundEngine::Free() {
  if (!m_started) return;
  for (int c = 0; c < kChannels; ++c) Halt(c);
  m_api->ChannelFinished(nullptr);
  m_api->HookMusicFinished(nullptr);
  m_api->CloseAudio();
  m_api->MixQuit();
  m_api->QuitSubSystem(kInitAudio);
  m_started = false;
  g_started = nullptr;
}

}  // namespace zv
