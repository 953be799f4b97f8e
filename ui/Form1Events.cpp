#include "Form1Events.h"

#include "CalculateBmi.h"
#include "DefaultErrorHandler.h"
#include "LimitLength.h"

Form1Events::CountingMsgBox::CountingMsgBox(runtime::MsgBox &shown)
    : m_shown(shown)
{
}

void Form1Events::CountingMsgBox::show(std::u16string_view prompt, runtime::MsgBoxStyle style)
{
    ++m_timesShown;
    ++m_open;
    m_shown.show(prompt, style);
    --m_open;
}

Form1Events::Form1Events(const core::BmiFields &fields, runtime::MsgBox &msgBox)
    : m_fields(fields)
    , m_msgBox(msgBox)
{
}

std::u16string Form1Events::Command1_Click()
{
    const std::u16string inches = m_fields.ft.text();
    const int boxesShown = m_msgBox.timesShown();
    runtime::runWithDefaultHandling(m_msgBox, [this] { core::CalculateBmi(m_fields, m_msgBox); });
    if (m_msgBox.timesShown() != boxesShown)
        return {};
    std::u16string message = u"Body Mass Index " + m_fields.bdmass.text() + u", category " + m_fields.nutrition.text();
    if (m_fields.ft.text() != inches)
        message.insert(0, u"Height now " + m_fields.heightf.text() + u" feet " + m_fields.ft.text() + u" inches. ");
    return message;
}

void Form1Events::weight_Change()
{
    core::LimitLength(m_fields.weight, core::weightLimit);
}

void Form1Events::heightf_Change()
{
    core::LimitLength(m_fields.heightf, core::heightfLimit);
}

void Form1Events::ft_Change()
{
    core::LimitLength(m_fields.ft, core::ftLimit);
}
