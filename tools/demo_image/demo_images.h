#pragma once
// Writers of whole Windows images: the demo one, and synthetic heavy profiles.
#include <filesystem>

namespace orvo::tools {

// The demo image: Chrome, Firefox (registered only under Wow6432Node) and Opera with
// their profiles, NPAPI plug-ins, stand-in program files with icons; 64-bit Windows 10.
void WriteDemoImage(const std::filesystem::path& root);
// Firefox alone, its add-ons in an old profile's extensions.sqlite (schema 14).
void WriteLegacyDemoImage(const std::filesystem::path& root);
// The Firefox add-ons' icons, as the demo rating service's site serves them (/icons/).
void WriteFirefoxIcons(const std::filesystem::path& folder);
// Firefox with `count` add-ons in extensions.json of at least `megabytes` and the startup
// cache beside it (or, with
// `database`, in extensions.sqlite), icons on `icon_site` ("http://host:port/icons/").
void WriteSyntheticFirefoxImage(const std::filesystem::path& root, int count, double megabytes,
                                bool database, const std::string& icon_site);
// Chrome with `count` extensions and a Preferences file of at least `megabytes`.
void WriteSyntheticImage(const std::filesystem::path& root, int count, double megabytes);

}  // namespace orvo::tools
