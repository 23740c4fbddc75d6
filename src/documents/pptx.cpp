#include "documents/sheets_and_slides.h"

#include <map>
#include <memory>
#include <string>

#include "documents/document_file.h"
#include "documents/office_parts.h"
#include "documents/drawing_text.h"
#include "documents/slide_fonts.h"
#include "documents/xml_part.h"

namespace lk::documents {
namespace {

// Masters and layouts stay parsed while slides need them; past this much
// XML between them a file is refused rather than memory exhausted.
constexpr std::size_t kMaxHeldBytes = 128u << 20;

// Office's own theme fonts, for a package that carries no theme.
const ThemeFonts kOfficeTheme{"Calibri", "Calibri Light"};

class Presentation : PackageJob {
 public:
  using PackageJob::PackageJob;

  void Convert() {
    ReadPresentation();
    for (const std::string& name : source_.Names()) {
      ThrowIfCancelled(cancel_);
      if (!ConvertPart(name)) sink_.Copy(name);
    }
  }

 private:
  void ReadPresentation() {
    presentationName_ = TargetOf(RelationshipsOf(source_, ""), "/officeDocument");
    if (presentationName_.empty() || !source_.Has(presentationName_))
      throw DocumentError("the package holds no presentation: it is not a PowerPoint file");
    ParsePart(presentation_, source_.Read(presentationName_), presentationName_);
    defaults_ = ChildNamed(presentation_.document_element(), "defaultTextStyle");
    const std::vector<Relationship> relationships = RelationshipsOf(source_, presentationName_);
    const std::string firstMaster = TargetOf(relationships, "/slideMaster");
    if (const MasterFonts* master = Master(firstMaster))
      theme_ = master->theme;
    else
      theme_ = ThemeOf(presentationName_);
  }

  ThemeFonts ThemeOf(const std::string& part) {
    const std::string name = TargetOf(RelationshipsOf(source_, part), "/theme");
    if (name.empty() || !source_.Has(name)) return kOfficeTheme;
    pugi::xml_document theme;
    ParsePart(theme, source_.Read(name), name);
    return ReadThemeFonts(theme);
  }

  // Masters and layouts are read once, as they were, whatever their own
  // conversion makes of them.
  template <typename Fonts, typename Read>
  const Fonts* HeldOnce(std::map<std::string, std::unique_ptr<Fonts>>& held, const std::string& name, Read read) {
    if (name.empty() || !source_.Has(name)) return nullptr;
    auto& slot = held[name];
    if (!slot) {
      slot = std::make_unique<Fonts>();
      ParsePart(slot->document, Hold(name), name);
      slot->placeholders = PlaceholdersIn(slot->document);
      read(*slot);
    }
    return slot.get();
  }

  const MasterFonts* Master(const std::string& name) {
    return HeldOnce(masters_, name, [&](MasterFonts& master) {
      master.theme = ThemeOf(name);
      const pugi::xml_node root = master.document.document_element();
      if (pugi::xml_node styles = ChildNamed(root, "txStyles")) {
        master.titleStyle = ChildNamed(styles, "titleStyle");
        master.bodyStyle = ChildNamed(styles, "bodyStyle");
        master.otherStyle = ChildNamed(styles, "otherStyle");
      } else if (pugi::xml_node notes = ChildNamed(root, "notesStyle")) {
        master.titleStyle = master.bodyStyle = master.otherStyle = notes;
      }
    });
  }

  const LayoutFonts* Layout(const std::string& name) {
    return HeldOnce(layouts_, name, [&](LayoutFonts& layout) {
      layout.master = Master(TargetOf(RelationshipsOf(source_, name), "/slideMaster"));
    });
  }

  std::string Hold(const std::string& name) {
    std::string content = source_.Read(name);
    held_ += content.size();
    if (held_ > kMaxHeldBytes)
      throw DocumentError("the presentation's masters and layouts are too large to convert (over " +
                          std::to_string(kMaxHeldBytes >> 20) + " MiB of XML)");
    return content;
  }

  bool Rewrite(const std::string& name, const SlideContext& context) {
    pugi::xml_document document;
    ParsePart(document, source_.Read(name), name);
    const ThemeFonts& theme = context.master ? context.master->theme : theme_;
    if (!ConvertSlideText(document, context, theme, settings_, tally_)) return false;
    sink_.AddSaved(name, document);
    return true;
  }

  bool RewriteDrawing(const std::string& name) {
    pugi::xml_document document;
    ParsePart(document, source_.Read(name), name);
    if (!ConvertStandaloneDrawing(document, theme_, settings_, tally_)) return false;
    sink_.AddSaved(name, document);
    return true;
  }

  // Whether the part was converted and written; false leaves it to be copied.
  bool ConvertPart(const std::string& name) {
    SlideContext context;
    context.presentationDefaults = defaults_;
    if (types_.Is(name, "presentationml.slide+xml")) {
      context.layout = Layout(TargetOf(RelationshipsOf(source_, name), "/slideLayout"));
      context.master = context.layout ? context.layout->master : nullptr;
      return Rewrite(name, context);
    }
    if (types_.Is(name, "presentationml.slideLayout+xml")) {
      context.master = Master(TargetOf(RelationshipsOf(source_, name), "/slideMaster"));
      return Rewrite(name, context);
    }
    if (types_.Is(name, "presentationml.slideMaster+xml") || types_.Is(name, "presentationml.notesMaster+xml") ||
        types_.Is(name, "presentationml.handoutMaster+xml")) {
      context.master = Master(name);
      context.partIsMaster = true;
      return Rewrite(name, context);
    }
    if (types_.Is(name, "presentationml.notesSlide+xml")) {
      context.master = Master(TargetOf(RelationshipsOf(source_, name), "/notesMaster"));
      return Rewrite(name, context);
    }
    if (types_.Is(name, "drawingml.chart+xml") || types_.Is(name, "drawingml.diagramData+xml") ||
        types_.Is(name, "drawingml.diagramDrawing+xml"))
      return RewriteDrawing(name);
    return false;
  }

  std::string presentationName_;
  pugi::xml_document presentation_;
  pugi::xml_node defaults_;
  ThemeFonts theme_ = kOfficeTheme;
  std::map<std::string, std::unique_ptr<MasterFonts>> masters_;
  std::map<std::string, std::unique_ptr<LayoutFonts>> layouts_;
  std::size_t held_ = 0;
};

}  // namespace

void ConvertPptxParts(PartSource& source, PartSink& sink, const ConvertSettings& settings, Tally& tally,
                      const std::atomic<bool>* cancel) {
  Presentation(source, sink, settings, tally, cancel).Convert();
}

}  // namespace lk::documents
