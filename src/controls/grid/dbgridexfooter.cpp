#include "controls/grid/dbgridex.h"

#include "controls/grid/numberformat.h"
#include "data/dataset.h"
#include "data/field.h"

namespace grid {

QString TCustomDBGridEx::FooterText(int footerRow, TDBGridColumnEx &column) const
{
    TColumnFooterEx &footer = column.footerOfRow(footerRow);
    switch (footer.valueType()) {
    case fvtNon: return {};
    case fvtStaticText: return footer.value();
    case fvtCount: {
        double n = footer.sumItem() ? footer.sumItem()->asFloat() : 0;
        return footer.displayFormat().isEmpty() ? formatGeneral(n) : formatFloat(footer.displayFormat(), n);
    }
    case fvtSum:
    case fvtAvg:
        // Every field of this engine holds text, which has no numeric
        // display: such aggregates show "0", as for a missing field.
        return QStringLiteral("0");
    case fvtFieldValue: {
        data::DataSet *ds = dataSet();
        if (!ds || !ds->active() || footer.fieldName().isEmpty())
            return {};
        data::Field *field = ds->findField(footer.fieldName());
        if (!field)
            return {};
        QString text = field->displayText();
        bool numeric = false;
        double v = text.toDouble(&numeric);
        return numeric && !footer.displayFormat().isEmpty() ? formatFloat(footer.displayFormat(), v) : text;
    }
    }
    return {};
}

} // namespace grid
