// A message drawn over a scene's picture with the game's own text writer: a dark panel across the field holding
// a caption and the text, wrapped to the field's width. The skin watcher shows a skin's load error this way,
// over the last picture of the game, until the skin is mended.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TDGTexture;
class TSXScene;
class TSXTextWriter;
class TVUDader;

class TMessageOverlay {
 public:
  static constexpr int32_t kMargin = 24, kPadding = 12, kLineGap = 4;
  static constexpr int32_t kCaptionSize = 20, kTextSize = 14;

  // Caption and Text in CP932; Text is wrapped to the panel as WrapText does.
  TMessageOverlay(TVUDader* Device, const std::string& Caption, const std::string& Text);
  ~TMessageOverlay();
  TMessageOverlay(const TMessageOverlay&) = delete;
  TMessageOverlay& operator=(const TMessageOverlay&) = delete;

  // Queues the panel and its text on the overlay queue, above everything the scene drew.
  void Draw(TSXScene* Scene) const;

  const std::vector<std::string>& Lines() const { return lines_; }
  int32_t PanelTop() const { return top_; }
  int32_t PanelBottom() const { return bottom_; }

 private:
  std::unique_ptr<TSXTextWriter> writer_;
  std::unique_ptr<TDGTexture> caption_;
  std::vector<std::string> lines_;
  std::vector<std::unique_ptr<TDGTexture>> textures_;
  int32_t lineHeight_ = 0, top_ = 0, bottom_ = 0;
};
