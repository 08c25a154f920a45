#pragma once
// The main window's advert area (`imgad`) is drawn by the advert presenter of the notices
// layer, which sits above the shell. The program installs the maker at start-up; the main
// window hands it its advert picture when it is created and keeps what comes back until it
// is destroyed. Unset, the area shows only its own picture.
#include <functional>
#include <memory>

namespace orvo {

class TLumImage;

using AdvertPresenterMaker = std::function<std::shared_ptr<void>(TLumImage& imgad)>;
AdvertPresenterMaker& MainWindowAdvert();

}  // namespace orvo
