#include "reports/core/ReportLayout.h"

#include "datamodel/DataModule.h"
#include "reports/core/Layouts.h"

namespace talvor::report {

namespace {

Presenter& presenter() {
    static Presenter current;
    return current;
}

ReportLayouts* instance = nullptr;

}  // namespace

Presenter setPresenter(Presenter p) { return std::exchange(presenter(), std::move(p)); }

ReportLayout::ReportLayout(LayoutDefinition definition, DatasetResolver datasets)
    : definition_(std::move(definition)), datasets_(std::move(datasets)) {
    state_.page = definition_.page;
}

void ReportLayout::setPaperA4() { state_.page = PageSetup::a4(); }

void ReportLayout::setPaperCustom(double widthMm, double lengthMm) {
    const PageSetup custom = PageSetup::custom(widthMm, lengthMm);
    if (custom.printableMm().isValid()) state_.page = custom;
}

const Control& ReportLayout::runtimeLabel(const QString& label) const {
    const Control* c = definition_.control(label);
    if (!c) throw ReportError(QStringLiteral("%1: 没有标签 %2").arg(name(), label));
    return *c;
}

void ReportLayout::setCaption(const QString& label, const QString& text) {
    runtimeLabel(label);
    state_.captions.insert(label, text);
}

QString ReportLayout::caption(const QString& label) const {
    return state_.captions.value(label, runtimeLabel(label).text);
}

void ReportLayout::centre(const QString& label) {
    runtimeLabel(label);
    state_.alignments.insert(label, Align::Centre);
}

void ReportLayout::bind(const QString& name, const Dataset* dataset) {
    bound_.insert(name, dataset);
}

PreparedReport ReportLayout::prepare() const {
    return paginate(definition_, state_, [this](const QString& name) -> const Dataset* {
        if (const Dataset* d = bound_.value(name)) return d;
        return datasets_ ? datasets_(name) : nullptr;
    });
}

void present(const PreparedReport& report) {
    if (!presenter()) throw ReportError(QStringLiteral("没有打印预览窗口"));
    presenter()(report);
}

void ReportLayout::preview() const { present(prepare()); }

ReportLayouts::ReportLayouts(TFrmDataMod& data) {
    const DatasetResolver resolve = [&data](const QString& name) -> const Dataset* {
        return data.dataset(name);
    };
    for (LayoutDefinition& d : systemLayouts())
        layouts_.push_back(std::make_unique<ReportLayout>(std::move(d), resolve));
    using L = ReportLayouts;
    const std::pair<ReportLayout * L::*, const char*> members[] = {{&L::QRoutlist, "QRoutlist"},
                                                                   {&L::Qgath, "Qgath"},
                                                                   {&L::Qincost, "Qincost"},
                                                                   {&L::QRiss, "QRiss"},
                                                                   {&L::QRinstat, "QRinstat"},
                                                                   {&L::Qoutcost, "Qoutcost"},
                                                                   {&L::Rptstore, "Rptstore"},
                                                                   {&L::QRpd, "QRpd"},
                                                                   {&L::Qpay, "Qpay"},
                                                                   {&L::QRcheck, "QRcheck"},
                                                                   {&L::QRout, "QRout"},
                                                                   {&L::QRin, "QRin"},
                                                                   {&L::Qalarm, "Qalarm"},
                                                                   {&L::QRoutSortG, "QRoutSortG"},
                                                                   {&L::QRoutSortC, "QRoutSortC"}};
    for (const auto& [member, name] : members) this->*member = layout(QLatin1String(name));
    instance = this;
}

ReportLayouts::~ReportLayouts() {
    if (instance == this) instance = nullptr;
}

ReportLayout* ReportLayouts::layout(const QString& instanceName) const {
    for (const auto& l : layouts_)
        if (l->name() == instanceName) return l.get();
    return nullptr;
}

ReportLayouts* Reports() { return instance; }

}  // namespace talvor::report
