// The three 16-pixel image strips the main frame owns and the views borrow: list 1 the project
// tree's 29 images, list 2 the function symbol table's and list 3 the data block, program
// variable and variable symbol tables' (image 0 a green check mark, image 1 empty). Each strip
// is one image 16 pixels high and 16 pixels wide per picture, magenta (255, 0, 255) where it is
// transparent. The pictures are drawn here; no bitmap resources are read.
#pragma once

#include <QIcon>
#include <QImage>

#include <array>

namespace Brenno {

class SharedImageLists {
 public:
  static constexpr int kTreeList = 1;
  static constexpr int kFunctionSymbolList = 2;
  static constexpr int kTableList = 3;
  static constexpr int kImageSize = 16;

  SharedImageLists();

  // The strip of list 1, 2 or 3 (list 1 for any other number).
  const QImage& Strip(int list) const;
  int Count(int list) const;
  // One picture with magenta made transparent; a null icon outside the strip.
  QIcon Icon(int list, int index) const;

  // The icon of the project manager pane.
  static QIcon ProjectPaneIcon();

 private:
  std::array<QImage, 3> strips_;
};

}  // namespace Brenno
