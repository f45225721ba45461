<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>TChmBrowser</name>
    <message>
        <source>&lt;html&gt;&lt;body&gt;&lt;h3&gt;找不到主题&lt;/h3&gt;&lt;p&gt;帮助文件中没有“%1”。&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;body&gt;&lt;h3&gt;Topic not found&lt;/h3&gt;&lt;p&gt;The help file has no &quot;%1&quot;.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>THtmlHelpViewer</name>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>目录</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>键入要查找的关键字</source>
        <translation>Type the keyword to find</translation>
    </message>
    <message>
        <source>索引</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>无法打开帮助文件“%1”。</source>
        <translation>Cannot open the help file &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>帮助文件没有默认主题。</source>
        <translation>The help file has no default topic.</translation>
    </message>
    <message>
        <source>帮助文件中没有主题“%1”。</source>
        <translation>The help file has no topic &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>帮助文件中没有上下文编号为 %1 的主题。</source>
        <translation>The help file has no topic with context number %1.</translation>
    </message>
</context>
<context>
    <name>TRecentFiles</name>
    <message>
        <source>no writable location for %1</source>
        <translation>no writable location for %1</translation>
    </message>
</context>
<context>
    <name>Velk</name>
    <message>
        <source>发现错误，可能是输入数据错误！</source>
        <translation>An error was found; the input data may be wrong!</translation>
    </message>
    <message>
        <source>方程在给定数据下无解或迭代不收敛</source>
        <translation>The equation has no solution for the given data, or the iteration does not converge</translation>
    </message>
    <message>
        <source>计算传质时需要填写此数据,只计算塔径不必填写.</source>
        <translation>Needed for mass transfer; not needed for the column diameter alone.</translation>
    </message>
    <message>
        <source>Rusk-Tovan关联式法</source>
        <translation>Rusk-Tovan correlation</translation>
    </message>
    <message>
        <source>Billet关联式法</source>
        <translation>Billet correlation</translation>
    </message>
    <message>
        <source>Kister-Gill-Tovan关联式法</source>
        <translation>Kister-Gill-Tovan correlation</translation>
    </message>
    <message>
        <source>高泡沫选0.5,中泡沫选0.8,无泡沫选1.0.其它酌情选取.</source>
        <translation>High foaming 0.5, moderate foaming 0.8, non-foaming 1.0; otherwise as judged.</translation>
    </message>
    <message>
        <source>通常在50%到80%之间。激进的设置可达90%</source>
        <translation>Usually between 50% and 80%. Aggressive designs go up to 90%</translation>
    </message>
    <message>
        <source>亨利定律:y=mx中的m</source>
        <translation>Henry&apos;s law: m in y=mx</translation>
    </message>
    <message>
        <source>y=ax/[1+(a-1)x]中的a</source>
        <translation>a in y=ax/[1+(a-1)x]</translation>
    </message>
    <message>
        <source>和气液平衡有关的常数，建议你不要直接填写该数据</source>
        <translation>A constant of the vapour-liquid equilibrium; better not entered directly</translation>
    </message>
    <message>
        <source>3 种算法结果存在差异。</source>
        <translation>The 3 methods give different results.</translation>
    </message>
    <message>
        <source>Kister-Gill关联图自动曲面插值计算泛点气速。</source>
        <translation>Flooding velocity by surface interpolation in the Kister-Gill chart.</translation>
    </message>
    <message>
        <source>圆整后的塔径</source>
        <translation>Rounded column diameter</translation>
    </message>
    <message>
        <source>气相传质单元高度.</source>
        <translation>Height of a vapour-phase transfer unit.</translation>
    </message>
    <message>
        <source>液相传质单元高度.</source>
        <translation>Height of a liquid-phase transfer unit.</translation>
    </message>
    <message>
        <source>总传质单元高度.</source>
        <translation>Height of an overall transfer unit.</translation>
    </message>
    <message>
        <source>等板高度,即一个理论板需要的填料高度.</source>
        <translation>Height equivalent to a theoretical plate: the packing height of one theoretical stage.</translation>
    </message>
    <message>
        <source>填料参数不全，无法使用该泛点算法。</source>
        <translation>The packing data are incomplete; this flooding method cannot be used.</translation>
    </message>
    <message>
        <source>38*Billet法估算</source>
        <translation>38*Billet estimate</translation>
    </message>
    <message>
        <source>BX(丝网)</source>
        <translation>BX (gauze)</translation>
    </message>
    <message>
        <source>21.3*Uf=2.9(化学工程手册3)估算</source>
        <translation>21.3*Uf=2.9 (Chemical Engineering Handbook 3) estimate</translation>
    </message>
    <message>
        <source>CY(丝网)</source>
        <translation>CY (gauze)</translation>
    </message>
    <message>
        <source>39*Billet估算</source>
        <translation>39*Billet estimate</translation>
    </message>
    <message>
        <source>37*Billet法估算</source>
        <translation>37*Billet estimate</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>填料类型PT</source>
        <translation>Packing PT</translation>
    </message>
    <message>
        <source>比表面α</source>
        <translation>Spec. area α</translation>
    </message>
    <message>
        <source>空隙率e</source>
        <translation>Voidage e</translation>
    </message>
    <message>
        <source>校正系数Cf</source>
        <translation>Factor Cf</translation>
    </message>
    <message>
        <source>波峰高度h</source>
        <translation>Crest h</translation>
    </message>
    <message>
        <source>波距2B</source>
        <translation>Base 2B</translation>
    </message>
    <message>
        <source>波长S</source>
        <translation>Side S</translation>
    </message>
    <message>
        <source>倾角θ</source>
        <translation>Angle θ</translation>
    </message>
    <message>
        <source>水力直径dh</source>
        <translation>Hydr. dia. dh</translation>
    </message>
    <message>
        <source>结构参数Cf1</source>
        <translation>Structure Cf1</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>无量纲</source>
        <translation>dimless</translation>
    </message>
    <message>
        <source>无效的浮点运算</source>
        <translation>Invalid floating point operation</translation>
    </message>
    <message>
        <source>浮点数被零除</source>
        <translation>Floating point division by zero</translation>
    </message>
    <message>
        <source>浮点溢出</source>
        <translation>Floating point overflow</translation>
    </message>
    <message>
        <source>无效的浮点数值</source>
        <translation>Invalid floating point value</translation>
    </message>
    <message>
        <source>文件或文件夹不存在</source>
        <translation>No such file or directory</translation>
    </message>
    <message>
        <source>没有访问权限</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>这是一个文件夹</source>
        <translation>Is a directory</translation>
    </message>
    <message>
        <source>不是文件夹</source>
        <translation>Not a directory</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>Not a regular file</translation>
    </message>
    <message>
        <source>文件太大，不是项目文件</source>
        <translation>File too large for a project</translation>
    </message>
    <message>
        <source>磁盘空间不足</source>
        <translation>No space left on device</translation>
    </message>
    <message>
        <source>文件系统只读</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>文件已存在</source>
        <translation>File exists</translation>
    </message>
    <message>
        <source>符号链接层数过多</source>
        <translation>Too many levels of symbolic links</translation>
    </message>
    <message>
        <source>输入输出错误</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>无法压缩项目</source>
        <translation>Cannot compress the project</translation>
    </message>
    <message>
        <source>“%1”不是有效的浮点数</source>
        <translation>&apos;%1&apos; is not a valid floating point value</translation>
    </message>
    <message>
        <source>“%1”不是有效的整数</source>
        <translation>&apos;%1&apos; is not a valid integer value</translation>
    </message>
    <message>
        <source>“%1”不是有效的单位换算系数</source>
        <translation>&apos;%1&apos; is not a valid unit factor</translation>
    </message>
    <message>
        <source>列表索引越界(%1)</source>
        <translation>List index out of bounds (%1)</translation>
    </message>
    <message>
        <source>无法打开文件“%1”。%2</source>
        <translation>Cannot open file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>无法创建文件“%1”。%2</source>
        <translation>Cannot create file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>警告:“%1”是空白,请补充.</source>
        <translation>Warning: &quot;%1&quot; is blank, please fill it in.</translation>
    </message>
    <message>
        <source>%1是错误数据</source>
        <translation>%1 is invalid data</translation>
    </message>
    <message>
        <source>填料库中没有填料类型“%1”。</source>
        <translation>The packing catalogue has no packing type &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>项目没有保存，你需要保存？</source>
        <translation>The project has not been saved. Save it?</translation>
    </message>
    <message>
        <source>注意！</source>
        <translation>Attention!</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>计算</source>
        <translation>Calculation</translation>
    </message>
    <message>
        <source>常量</source>
        <translation>Constants</translation>
    </message>
    <message>
        <source>操作性能图</source>
        <translation>Performance diagram</translation>
    </message>
    <message>
        <source>项目信息</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>项目名称</source>
        <translation>Project name</translation>
    </message>
    <message>
        <source>设备名称</source>
        <translation>Equipment</translation>
    </message>
    <message>
        <source>项目阶段</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>设备位号</source>
        <translation>Tag No.</translation>
    </message>
    <message>
        <source>备用</source>
        <translation>Spare</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>液相数据</source>
        <translation>Liquid data</translation>
    </message>
    <message>
        <source>液相物性和工艺数据</source>
        <translation>Liquid properties and process data</translation>
    </message>
    <message>
        <source>物 性 数 据</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>液相密度</source>
        <translation>Liquid density</translation>
    </message>
    <message>
        <source>液相粘度</source>
        <translation>Liquid viscosity</translation>
    </message>
    <message>
        <source>液相表面张力</source>
        <translation>Surface tension</translation>
    </message>
    <message>
        <source>液相扩散系数</source>
        <translation>Liquid diffusivity</translation>
    </message>
    <message>
        <source>工 艺 数 据</source>
        <translation>Process data</translation>
    </message>
    <message>
        <source>液体发泡系数</source>
        <translation>Foaming factor</translation>
    </message>
    <message>
        <source>液相质量流量</source>
        <translation>Liquid mass flow</translation>
    </message>
    <message>
        <source>气相数据</source>
        <translation>Vapour data</translation>
    </message>
    <message>
        <source>气相物性和工艺数据</source>
        <translation>Vapour properties and process data</translation>
    </message>
    <message>
        <source>气相密度</source>
        <translation>Vapour density</translation>
    </message>
    <message>
        <source>气相粘度</source>
        <translation>Vapour viscosity</translation>
    </message>
    <message>
        <source>气相扩散系数</source>
        <translation>Vapour diffusivity</translation>
    </message>
    <message>
        <source>泛点预设</source>
        <translation>Design flooding</translation>
    </message>
    <message>
        <source>气相质量流量</source>
        <translation>Vapour mass flow</translation>
    </message>
    <message>
        <source>其他数据</source>
        <translation>Other data</translation>
    </message>
    <message>
        <source>填料选择</source>
        <translation>Packing</translation>
    </message>
    <message>
        <source>平衡线斜率</source>
        <translation>Equilibrium slope</translation>
    </message>
    <message>
        <source>相对挥发度</source>
        <translation>Relative volatility</translation>
    </message>
    <message>
        <source>参数λ</source>
        <translation>Stripping factor λ</translation>
    </message>
    <message>
        <source>泛点算法</source>
        <translation>Flooding method</translation>
    </message>
    <message>
        <source>局部插值</source>
        <translation>Local interpolation</translation>
    </message>
    <message>
        <source>流动参数</source>
        <translation>Flow parameter</translation>
    </message>
    <message>
        <source>泛点气速</source>
        <translation>Flooding velocity</translation>
    </message>
    <message>
        <source>空速</source>
        <translation>Design velocity</translation>
    </message>
    <message>
        <source>液相负荷</source>
        <translation>Liquid load</translation>
    </message>
    <message>
        <source>气相负荷</source>
        <translation>Vapour load</translation>
    </message>
    <message>
        <source>最大负荷因子</source>
        <translation>Max. load factor</translation>
    </message>
    <message>
        <source>理论塔径</source>
        <translation>Theor. diameter</translation>
    </message>
    <message>
        <source>实际塔径</source>
        <translation>Actual diameter</translation>
    </message>
    <message>
        <source>持液量</source>
        <translation>Liquid holdup</translation>
    </message>
    <message>
        <source>干塔压降(每米)</source>
        <translation>Dry Δp per m</translation>
    </message>
    <message>
        <source>湿塔压降(每米)</source>
        <translation>Wet Δp per m</translation>
    </message>
    <message>
        <source>HETP(等板高度)</source>
        <translation>HETP</translation>
    </message>
    <message>
        <source>空白项目</source>
        <translation>Blank project</translation>
    </message>
    <message>
        <source>欢迎使用</source>
        <translation>Welcome</translation>
    </message>
    <message>
        <source>波纹规整填料塔流体力学(VLKE) V2017.05.01.41</source>
        <translation>Structured Packing Column Hydraulics (VLKE) V2017.05.01.41</translation>
    </message>
    <message>
        <source>规整填料塔的泛点、塔径、压降、持液量与传质效率计算。</source>
        <translation>Flooding, diameter, pressure drop, holdup and mass-transfer efficiency of structured packing columns.</translation>
    </message>
    <message>
        <source>波纹规整填料塔流体力学</source>
        <translation>Structured Packing Column Hydraulics</translation>
    </message>
    <message>
        <source>波纹规整填料塔流体力学-空白项目</source>
        <translation>Structured Packing Column Hydraulics-Blank project</translation>
    </message>
    <message>
        <source>&amp;F 文件</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;N 新建</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;O 打开</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>&amp;S 保存</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;A 另存为</source>
        <translation>Save &amp;As</translation>
    </message>
    <message>
        <source>&amp;E 结束</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;R 报表</source>
        <translation>&amp;Report</translation>
    </message>
    <message>
        <source>&amp;S 保存报表</source>
        <translation>&amp;Save report</translation>
    </message>
    <message>
        <source>&amp;P 打印报表</source>
        <translation>&amp;Print report</translation>
    </message>
    <message>
        <source>&amp;F 导出PDF报表</source>
        <translation>Export PDF &amp;file</translation>
    </message>
    <message>
        <source>&amp;D 操作性能图</source>
        <translation>Performance &amp;diagram</translation>
    </message>
    <message>
        <source>&amp;A 关于...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>&amp;H 帮助中心</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;T 帮助主题</source>
        <translation>Help &amp;topics</translation>
    </message>
    <message>
        <source>&amp;W 这是什么?</source>
        <translation>&amp;What&apos;s this?</translation>
    </message>
    <message>
        <source>&amp;H 官方网站</source>
        <translation>&amp;Home page</translation>
    </message>
    <message>
        <source>&amp;E 联系我们</source>
        <translation>&amp;Email us</translation>
    </message>
    <message>
        <source>&amp;L 语言</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>保存报表</source>
        <translation>Save report</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>连接Hysys</source>
        <translation>HYSYS</translation>
    </message>
    <message>
        <source>连接Proii</source>
        <translation>PRO/II</translation>
    </message>
    <message>
        <source>Excel异常!</source>
        <translation>Spreadsheet error!</translation>
    </message>
    <message>
        <source>数据无效，无法确定负荷点，不能绘制操作性能图！</source>
        <translation>The data are invalid; the load points cannot be found and the performance diagram cannot be drawn!</translation>
    </message>
    <message>
        <source>液体流量为零，负荷点无定义，不能绘制操作性能图！</source>
        <translation>The liquid flow is zero; the load points are undefined and the performance diagram cannot be drawn!</translation>
    </message>
    <message>
        <source>液体负荷为零，负荷点无定义，不能绘制操作性能图！</source>
        <translation>The liquid load is zero; the load points are undefined and the performance diagram cannot be drawn!</translation>
    </message>
    <message>
        <source>液体流量、气体流量、液体负荷和泛点百分数必须大于零，不能绘制操作性能图！</source>
        <translation>Liquid flow, vapour flow, liquid load and flooding percentage must be above zero; the performance diagram cannot be drawn!</translation>
    </message>
    <message>
        <source>负荷点超出数值范围，不能绘制操作性能图！</source>
        <translation>A load point is out of range; the performance diagram cannot be drawn!</translation>
    </message>
    <message>
        <source>最小负荷(</source>
        <translation>Minimum load (</translation>
    </message>
    <message>
        <source>设计负荷(100%)</source>
        <translation>Design load (100%)</translation>
    </message>
    <message>
        <source>80负荷(</source>
        <translation>80% flood load (</translation>
    </message>
    <message>
        <source>泛点负荷(</source>
        <translation>Flooding load (</translation>
    </message>
    <message>
        <source>绘图需要图形应用程序环境（可用 offscreen 平台）。</source>
        <translation>Drawing needs a graphical application (the offscreen platform will do).</translation>
    </message>
    <message>
        <source>没有绘图表面。</source>
        <translation>No drawing surface.</translation>
    </message>
    <message>
        <source>图形尺寸无效：%1 x %2</source>
        <translation>Invalid picture size: %1 x %2</translation>
    </message>
    <message>
        <source>不支持的文件类型（只能保存为 PNG 或 SVG）：%1</source>
        <translation>Unsupported file type (PNG or SVG only): %1</translation>
    </message>
    <message>
        <source>内存不足，无法生成图形。</source>
        <translation>Not enough memory for the picture.</translation>
    </message>
    <message>
        <source>无法写入文件：%1（%2）</source>
        <translation>Cannot write the file %1 (%2)</translation>
    </message>
    <message>
        <source>无法写入文件：%1</source>
        <translation>Cannot write the file %1</translation>
    </message>
    <message>
        <source>保存为 PNG 图片...</source>
        <translation>Save as PNG image...</translation>
    </message>
    <message>
        <source>保存为 SVG 图形...</source>
        <translation>Save as SVG drawing...</translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>SVG 图形 (*.svg)</source>
        <translation>SVG drawings (*.svg)</translation>
    </message>
    <message>
        <source>保存操作性能图</source>
        <translation>Save the performance diagram</translation>
    </message>
    <message>
        <source>操作性能图.</source>
        <translation>performance-diagram.</translation>
    </message>
    <message>
        <source>没有可绘制的操作性能图。</source>
        <translation>There is no performance diagram to draw.</translation>
    </message>
    <message>
        <source>保存计算报表</source>
        <translation>Save the calculation report</translation>
    </message>
    <message>
        <source>打印计算报表</source>
        <translation>Print a calculation report</translation>
    </message>
    <message>
        <source>导出PDF计算报表</source>
        <translation>Export the calculation report as PDF</translation>
    </message>
    <message>
        <source>操作弹性</source>
        <translation>Operating range</translation>
    </message>
    <message>
        <source>Kister-Gill-Tovan局部插值</source>
        <translation>Kister-Gill-Tovan, local interpolation</translation>
    </message>
    <message>
        <source>Excel 文件</source>
        <translation>Excel files</translation>
    </message>
    <message>
        <source>PDF 文件</source>
        <translation>PDF files</translation>
    </message>
    <message>
        <source>波纹规整填料塔流体力学计算书</source>
        <translation>Structured Packing Column Hydraulics Calculation Sheet</translation>
    </message>
    <message>
        <source>PDF 报表已保存，但没有运行图：</source>
        <translation>The PDF report was saved, but without the diagram: </translation>
    </message>
    <message>
        <source>计算日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>项目文件</source>
        <translation>Project file</translation>
    </message>
    <message>
        <source>一、项目信息</source>
        <translation>1. Project</translation>
    </message>
    <message>
        <source>二、输入数据</source>
        <translation>2. Input data</translation>
    </message>
    <message>
        <source>项目</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>处理量</source>
        <translation>Throughput</translation>
    </message>
    <message>
        <source>填料、平衡数据与泛点算法</source>
        <translation>Packing, equilibrium data and flooding method</translation>
    </message>
    <message>
        <source>三、计算结果</source>
        <translation>3. Results</translation>
    </message>
    <message>
        <source>注：操作弹性为最小液体负荷与液泛负荷各占设计负荷的百分比；“[Must input]”表示必须输入的数据。</source>
        <translation>Note: the operating range gives the minimum liquid load and the flooding load as percentages of the design load; &quot;[Must input]&quot; marks data that must be entered.</translation>
    </message>
    <message>
        <source>Hysys错误！</source>
        <translation>HYSYS error!</translation>
    </message>
    <message>
        <source>塔径位置（理论版编号）</source>
        <translation>Stage for the diameter</translation>
    </message>
    <message>
        <source>指定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>PROII错误！</source>
        <translation>PRO/II error!</translation>
    </message>
    <message>
        <source>模拟文件包含错误/警告信息！</source>
        <translation>The simulation file holds errors or warnings!</translation>
    </message>
    <message>
        <source>塔器模块</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>获得数据</source>
        <translation>Get data</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>没有选定塔器模块!</source>
        <translation>No column selected!</translation>
    </message>
    <message>
        <source>当前塔器</source>
        <translation>Current column</translation>
    </message>
    <message>
        <source>自动(NF0-1)</source>
        <translation>Above feed</translation>
    </message>
    <message>
        <source>当前塔盘</source>
        <translation>Current tray</translation>
    </message>
    <message>
        <source>打开文件</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>PROII 模拟文件 (*.prz *.pr1)</source>
        <translation>PRO/II simulation files (*.prz *.pr1)</translation>
    </message>
    <message>
        <source>文件夹不存在。</source>
        <translation>The folder does not exist.</translation>
    </message>
    <message>
        <source>文件不存在。</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>此文件为只读文件，请选择其他文件。</source>
        <translation>This file is read-only; choose another file.</translation>
    </message>
    <message>
        <source>该模拟文件中没有塔器模块!</source>
        <translation>This simulation file has no column!</translation>
    </message>
    <message>
        <source>波纹规整填料塔流体力学 VELK 4.1</source>
        <translation>Structured Packing Column Hydraulics VELK 4.1</translation>
    </message>
    <message>
        <source>波纹规整填料塔流体力学(*.vel)</source>
        <translation>Structured Packing Column Hydraulics (*.vel)</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>波纹规整填料塔流体力学(VELK)4.1版</source>
        <translation>Structured Packing Column Hydraulics (VELK) 4.1</translation>
    </message>
    <message>
        <source>规整填料塔水力学与传质计算 (Linux 版)</source>
        <translation>Hydraulics and mass transfer of structured packing columns (Linux edition)</translation>
    </message>
    <message>
        <source>丝网波纹</source>
        <translation>Gauze corrugated</translation>
    </message>
    <message>
        <source>板波纹Y型</source>
        <translation>Sheet corrugated Y</translation>
    </message>
    <message>
        <source>没有可比较的结果。</source>
        <translation>There are no results to compare.</translation>
    </message>
    <message>
        <source>湿塔压降(mbar/m)</source>
        <translation>Wet pressure drop (mbar/m)</translation>
    </message>
    <message>
        <source>理论塔径(m)</source>
        <translation>Theoretical diameter (m)</translation>
    </message>
    <message>
        <source>填料比较</source>
        <translation>Packing comparison</translation>
    </message>
    <message>
        <source>保存填料比较图</source>
        <translation>Save the packing comparison chart</translation>
    </message>
    <message>
        <source>填料比较.</source>
        <translation>packing-comparison.</translation>
    </message>
    <message>
        <source>不支持的文件类型（只能保存为 CSV 或 XLSX）：%1</source>
        <translation>Unsupported file type (CSV or XLSX only): %1</translation>
    </message>
    <message>
        <source>填料类型</source>
        <translation>Packing</translation>
    </message>
    <message>
        <source>比表面积(m²/m³)</source>
        <translation>Specific area (m²/m³)</translation>
    </message>
    <message>
        <source>泛点气速(m/s)</source>
        <translation>Flooding velocity (m/s)</translation>
    </message>
    <message>
        <source>实际塔径(m)</source>
        <translation>Actual diameter (m)</translation>
    </message>
    <message>
        <source>实际泛点率(%)</source>
        <translation>Actual flooding (%)</translation>
    </message>
    <message>
        <source>F因子(Pa^0.5)</source>
        <translation>F-factor (Pa^0.5)</translation>
    </message>
    <message>
        <source>持液量(m³/m³)</source>
        <translation>Liquid holdup (m³/m³)</translation>
    </message>
    <message>
        <source>HTUOV(m)</source>
        <translation>HTUOV (m)</translation>
    </message>
    <message>
        <source>HETP(m)</source>
        <translation>HETP (m)</translation>
    </message>
    <message>
        <source>填料高度(m)</source>
        <translation>Packed height (m)</translation>
    </message>
    <message>
        <source>床层压降(mbar)</source>
        <translation>Bed pressure drop (mbar)</translation>
    </message>
    <message>
        <source>泛点气速差异(%)</source>
        <translation>Flooding velocity spread (%)</translation>
    </message>
    <message>
        <source>塔径差异(%)</source>
        <translation>Diameter spread (%)</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Rusk-Tovan</source>
        <translation>Rusk-Tovan</translation>
    </message>
    <message>
        <source>Billet</source>
        <translation>Billet</translation>
    </message>
    <message>
        <source>Kister-Gill</source>
        <translation>Kister-Gill</translation>
    </message>
    <message>
        <source>Kister-Gill局部插值</source>
        <translation>Kister-Gill, local interpolation</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>当前泛点算法</source>
        <translation>Current flooding method</translation>
    </message>
    <message>
        <source>三种泛点算法对比</source>
        <translation>All three flooding methods</translation>
    </message>
    <message>
        <source>全部系列</source>
        <translation>All families</translation>
    </message>
    <message>
        <source>HETP - 湿塔压降</source>
        <translation>HETP - wet pressure drop</translation>
    </message>
    <message>
        <source>HETP - 理论塔径</source>
        <translation>HETP - theoretical diameter</translation>
    </message>
    <message>
        <source>导出表格...</source>
        <translation>Export table...</translation>
    </message>
    <message>
        <source>算法</source>
        <translation>Method</translation>
    </message>
    <message>
        <source>填料系列</source>
        <translation>Family</translation>
    </message>
    <message>
        <source>图形</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>%1 行，%2 行出错</source>
        <translation>%1 rows, %2 with errors</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Excel 工作簿 (*.xlsx)</source>
        <translation>Excel workbooks (*.xlsx)</translation>
    </message>
    <message>
        <source>导出填料比较表</source>
        <translation>Export the packing comparison table</translation>
    </message>
    <message>
        <source>勾选后实际塔径由你输入，按该塔径核算负荷、压降和持液量。</source>
        <translation>When ticked, you enter the actual diameter; loads, pressure drop and holdup are checked for that diameter.</translation>
    </message>
    <message>
        <source>理论板数，用于计算填料层高度和床层压降，可不填。</source>
        <translation>Number of theoretical stages, for the packed height and the bed pressure drop; may be left empty.</translation>
    </message>
    <message>
        <source>“流动参数”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Flow parameter&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“最大负荷因子”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Max. load factor&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“泛点气速”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Flooding velocity&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“空速”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Design velocity&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“理论塔径”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Theor. diameter&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“实际塔径”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Actual diameter&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“液相负荷”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Liquid load&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“气相负荷”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Vapour load&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“持液量”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Liquid holdup&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“干塔压降(每米)”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Dry Δp per m&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“湿塔压降(每米)”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Wet Δp per m&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“HTUV”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;HTUV&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“HTUL”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;HTUL&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“HTUOV”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;HTUOV&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“HETP(等板高度)”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;HETP&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“平衡线斜率”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Equilibrium slope&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“相对挥发度”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Relative volatility&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“参数λ”已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>&quot;Stripping factor λ&quot; is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>“气相负荷”达到或超过“泛点气速”，塔已液泛：湿塔压降和持液量不予计算。</source>
        <translation>&quot;Vapour load&quot; reaches or exceeds &quot;Flooding velocity&quot;: the column floods; wet pressure drop and holdup are not computed.</translation>
    </message>
    <message>
        <source>“气相负荷”超过“泛点气速”的90%，接近液泛。</source>
        <translation>&quot;Vapour load&quot; exceeds 90% of &quot;Flooding velocity&quot;: close to flooding.</translation>
    </message>
    <message>
        <source>“实际塔径”使实际泛点率比设计值(泛点预设×液体发泡系数)高出5个百分点以上。</source>
        <translation>&quot;Actual diameter&quot; makes the actual flooding more than 5 points above the design value (design flooding × foaming factor).</translation>
    </message>
    <message>
        <source>“湿塔压降(每米)”低于“干塔压降(每米)”，已超出压降模型的适用范围。</source>
        <translation>&quot;Wet Δp per m&quot; is below &quot;Dry Δp per m&quot;: outside the range of the pressure-drop model.</translation>
    </message>
    <message>
        <source>“持液量”达到或超过填料空隙率，已超出持液量模型的适用范围。</source>
        <translation>&quot;Liquid holdup&quot; reaches or exceeds the packing&apos;s void fraction: outside the range of the holdup model.</translation>
    </message>
    <message>
        <source>“液相负荷”低于填料的最小液体负荷，填料润湿不足，传质结果偏乐观。</source>
        <translation>&quot;Liquid load&quot; is below the packing&apos;s minimum liquid load: the packing is not wetted well and the mass-transfer results are optimistic.</translation>
    </message>
    <message>
        <source>“流动参数”超出所选泛点算法的适用范围，泛点气速为外推值。</source>
        <translation>&quot;Flow parameter&quot; is outside the range of the chosen flooding method: the flooding velocity is extrapolated.</translation>
    </message>
    <message>
        <source>版次</source>
        <translation>Revision</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>编制</source>
        <translation>Prepared</translation>
    </message>
    <message>
        <source>校核</source>
        <translation>Checked</translation>
    </message>
    <message>
        <source>审核</source>
        <translation>Approved</translation>
    </message>
    <message>
        <source>四、操作核算</source>
        <translation>4. Operating check</translation>
    </message>
    <message>
        <source>实际泛点率</source>
        <translation>Actual flooding</translation>
    </message>
    <message>
        <source>设计泛点率(f×A)</source>
        <translation>Design flooding (f×A)</translation>
    </message>
    <message>
        <source>F因子</source>
        <translation>F-factor</translation>
    </message>
    <message>
        <source>容量因子</source>
        <translation>Capacity factor</translation>
    </message>
    <message>
        <source>液体喷淋密度</source>
        <translation>Liquid spray density</translation>
    </message>
    <message>
        <source>润湿比</source>
        <translation>Wetting ratio</translation>
    </message>
    <message>
        <source>湿塔压降</source>
        <translation>Wet pressure drop</translation>
    </message>
    <message>
        <source>理论板数</source>
        <translation>Theoretical stages</translation>
    </message>
    <message>
        <source>填料层高度</source>
        <translation>Packed height</translation>
    </message>
    <message>
        <source>床层压降</source>
        <translation>Bed pressure drop</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>该值已过时：它依赖的输入已清空或改变，未重新计算。</source>
        <translation>This value is out of date: an input it depends on was emptied or changed, and it was not recalculated.</translation>
    </message>
    <message>
        <source>操作核算</source>
        <translation>Operating check</translation>
    </message>
    <message>
        <source>核算给定塔径</source>
        <translation>Rate the given diameter</translation>
    </message>
    <message>
        <source>% 泛点</source>
        <translation>% of flood</translation>
    </message>
    <message>
        <source>F因子 (Pa^0.5)</source>
        <translation>F-factor (Pa^0.5)</translation>
    </message>
    <message>
        <source>HETP (m)</source>
        <translation>HETP (m)</translation>
    </message>
    <message>
        <source>保存填料性能曲线</source>
        <translation>Save the packing performance chart</translation>
    </message>
    <message>
        <source>压降 (mbar/m)</source>
        <translation>Pressure drop (mbar/m)</translation>
    </message>
    <message>
        <source>压降曲线</source>
        <translation>Pressure-drop curves</translation>
    </message>
    <message>
        <source>压降曲线的液相负荷，用逗号分开；当前负荷自动加入。</source>
        <translation>Liquid loads of the pressure-drop chart, separated by commas; the current load is added.</translation>
    </message>
    <message>
        <source>塔径或流量为空，没有操作性能图。</source>
        <translation>The diameter or a flow is empty: no performance diagram.</translation>
    </message>
    <message>
        <source>干填料</source>
        <translation>Dry packing</translation>
    </message>
    <message>
        <source>性能图</source>
        <translation>Charts</translation>
    </message>
    <message>
        <source>持液量 (m³/m³)</source>
        <translation>Holdup (m³/m³)</translation>
    </message>
    <message>
        <source>持液量曲线</source>
        <translation>Holdup curve</translation>
    </message>
    <message>
        <source>操作点</source>
        <translation>Operating point</translation>
    </message>
    <message>
        <source>操作点：%1% 泛点</source>
        <translation>Operating point: %1% of flood</translation>
    </message>
    <message>
        <source>没有传质数据，不能绘制等板高度曲线。</source>
        <translation>No mass-transfer data: the HETP chart cannot be drawn.</translation>
    </message>
    <message>
        <source>没有可保存的曲线。</source>
        <translation>There are no curves to save.</translation>
    </message>
    <message>
        <source>没有可绘制的压降曲线。</source>
        <translation>There are no pressure-drop curves to draw.</translation>
    </message>
    <message>
        <source>没有可绘制的持液量曲线。</source>
        <translation>There is no holdup curve to draw.</translation>
    </message>
    <message>
        <source>没有选择泛点算法。</source>
        <translation>No flooding method is selected.</translation>
    </message>
    <message>
        <source>液相负荷 (m³/(m²·h))</source>
        <translation>Liquid load (m³/(m²·h))</translation>
    </message>
    <message>
        <source>液相负荷 m³/(m²·h)</source>
        <translation>Liquid loads m³/(m²·h)</translation>
    </message>
    <message>
        <source>等板高度曲线</source>
        <translation>HETP curve</translation>
    </message>
    <message>
        <source>计算页的数据不全，无法绘制填料性能曲线。</source>
        <translation>The calculation page is incomplete: the performance charts cannot be drawn.</translation>
    </message>
    <message>
        <source>（当前）</source>
        <translation> (current)</translation>
    </message>
    <message>
        <source>填料性能曲线</source>
        <translation>Packing performance</translation>
    </message>
    <message>
        <source>%1 不是文件夹</source>
        <translation>%1 is not a folder</translation>
    </message>
    <message>
        <source>%1 属于其他用户</source>
        <translation>%1 belongs to another user</translation>
    </message>
    <message>
        <source>%1 的权限不是 0700</source>
        <translation>%1 does not have mode 0700</translation>
    </message>
    <message>
        <source>找不到只属于本用户的运行文件夹：%1</source>
        <translation>No runtime folder of this user&apos;s own: %1</translation>
    </message>
    <message>
        <source>无法确认连接另一端的用户：%1</source>
        <translation>Cannot tell the user at the other end of the connection: %1</translation>
    </message>
    <message>
        <source>连接另一端属于其他用户（用户号 %1），已拒绝。</source>
        <translation>The other end of the connection belongs to another user (uid %1); refused.</translation>
    </message>
    <message>
        <source>HYSYS 导入超过 %1 秒，已停止。</source>
        <translation>The HYSYS import took longer than %1 s and was stopped.</translation>
    </message>
    <message>
        <source>HYSYS 返回的%1数目无效：%2</source>
        <translation>HYSYS reported an invalid number of %1: %2</translation>
    </message>
    <message>
        <source>塔板</source>
        <translation>stages</translation>
    </message>
    <message>
        <source>正在从 HYSYS 读取数据…</source>
        <translation>Reading data from HYSYS…</translation>
    </message>
    <message>
        <source>气相流量</source>
        <translation>Vapour flow</translation>
    </message>
    <message>
        <source>液相流量</source>
        <translation>Liquid flow</translation>
    </message>
    <message>
        <source>表面张力</source>
        <translation>Surface tension</translation>
    </message>
    <message>
        <source>不在任何填料段内</source>
        <translation>Not in any packed bed</translation>
    </message>
    <message>
        <source>数据不全：</source>
        <translation>Incomplete data: </translation>
    </message>
    <message>
        <source>塔段校核</source>
        <translation>Column rating</translation>
    </message>
    <message>
        <source>导入CSV</source>
        <translation>Import CSV</translation>
    </message>
    <message>
        <source>按给定塔径校核</source>
        <translation>Rate given diameters</translation>
    </message>
    <message>
        <source>填料段</source>
        <translation>Beds</translation>
    </message>
    <message>
        <source>增加填料段</source>
        <translation>Add bed</translation>
    </message>
    <message>
        <source>删除填料段</source>
        <translation>Remove bed</translation>
    </message>
    <message>
        <source>起始板</source>
        <translation>First stage</translation>
    </message>
    <message>
        <source>终止板</source>
        <translation>Last stage</translation>
    </message>
    <message>
        <source>填料</source>
        <translation>Packing</translation>
    </message>
    <message>
        <source>塔径(m)</source>
        <translation>Diameter (m)</translation>
    </message>
    <message>
        <source>板</source>
        <translation>Stage</translation>
    </message>
    <message>
        <source>段</source>
        <translation>Bed</translation>
    </message>
    <message>
        <source>理论塔径
m</source>
        <translation>Theor. diameter
m</translation>
    </message>
    <message>
        <source>泛点率
%</source>
        <translation>Flood
%</translation>
    </message>
    <message>
        <source>F因子
Pa^0.5</source>
        <translation>F-factor
Pa^0.5</translation>
    </message>
    <message>
        <source>压降
Pa/m</source>
        <translation>Pressure drop
Pa/m</translation>
    </message>
    <message>
        <source>持液量
m3/m3</source>
        <translation>Holdup
m3/m3</translation>
    </message>
    <message>
        <source>塔径
m</source>
        <translation>Diameter
m</translation>
    </message>
    <message>
        <source>控制板</source>
        <translation>Limiting stage</translation>
    </message>
    <message>
        <source>填料高度
m</source>
        <translation>Packed height
m</translation>
    </message>
    <message>
        <source>压降
mbar</source>
        <translation>Pressure drop
mbar</translation>
    </message>
    <message>
        <source>取自计算页</source>
        <translation>From the calculation page</translation>
    </message>
    <message>
        <source>填料段的板号不是整数：</source>
        <translation>The stage numbers of a bed are not whole numbers: </translation>
    </message>
    <message>
        <source>塔径不是数字：</source>
        <translation>The diameter is not a number: </translation>
    </message>
    <message>
        <source>塔板数据 (*.csv)</source>
        <translation>Tray profiles (*.csv)</translation>
    </message>
    <message>
        <source>第%1段</source>
        <translation>Bed %1</translation>
    </message>
    <message>
        <source>理论板</source>
        <translation>Theoretical stage</translation>
    </message>
    <message>
        <source>泛点率(%)</source>
        <translation>Flood (%)</translation>
    </message>
    <message>
        <source>压降(mbar/m)</source>
        <translation>Pressure drop (mbar/m)</translation>
    </message>
    <message>
        <source>没有可绘制的校核结果。</source>
        <translation>No rating results to draw.</translation>
    </message>
    <message>
        <source>按最大理论塔径圆整</source>
        <translation>Sized: largest theoretical diameter, rounded</translation>
    </message>
    <message>
        <source>压降(mbar)</source>
        <translation>Pressure drop (mbar)</translation>
    </message>
    <message>
        <source>压降(Pa/m)</source>
        <translation>Pressure drop (Pa/m)</translation>
    </message>
    <message>
        <source>(计算页)</source>
        <translation>(calculation page)</translation>
    </message>
    <message>
        <source>整塔数据</source>
        <translation>Whole column</translation>
    </message>
    <message>
        <source>单元格引用“%1”无效。</source>
        <translation>The cell reference &quot;%1&quot; is invalid.</translation>
    </message>
    <message>
        <source>单元格位置无效：第 %1 行，第 %2 列。</source>
        <translation>Invalid cell position: row %1, column %2.</translation>
    </message>
    <message>
        <source>打印到文件需要文件名（PrToFileName）。</source>
        <translation>Printing to a file needs a file name (PrToFileName).</translation>
    </message>
    <message>
        <source>工作簿“%1”已关闭，不能再使用。</source>
        <translation>The workbook &quot;%1&quot; is closed and can no longer be used.</translation>
    </message>
    <message>
        <source>下标越界：工作簿中没有名为“%1”的工作表。</source>
        <translation>Subscript out of range: the workbook has no sheet named &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>下标越界：工作簿只有 %1 个工作表，没有第 %2 个。</source>
        <translation>Subscript out of range: the workbook has %1 sheet(s), there is no sheet %2.</translation>
    </message>
    <message>
        <source>SaveAs 需要文件名。</source>
        <translation>SaveAs needs a file name.</translation>
    </message>
    <message>
        <source>工作簿“%1”还没有文件名，请用 SaveAs 保存。</source>
        <translation>The workbook &quot;%1&quot; has no file name yet; save it with SaveAs.</translation>
    </message>
    <message>
        <source>工作簿“%1”还没有文件名，无法在关闭时保存。</source>
        <translation>The workbook &quot;%1&quot; has no file name yet and cannot be saved on closing.</translation>
    </message>
    <message>
        <source>下标越界：没有名为“%1”的工作簿。</source>
        <translation>Subscript out of range: there is no workbook named &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>下标越界：没有第 %1 个工作簿。</source>
        <translation>Subscript out of range: there is no workbook %1.</translation>
    </message>
    <message>
        <source>电子表格程序已经退出。</source>
        <translation>The spreadsheet program has quit.</translation>
    </message>
    <message>
        <source>文件“%1”不是有效的 Excel 工作簿。</source>
        <translation>The file &quot;%1&quot; is not a valid Excel workbook.</translation>
    </message>
    <message>
        <source>工作簿中的工作表“%1”缺失，文件已损坏。</source>
        <translation>The sheet &quot;%1&quot; is missing from the workbook; the file is damaged.</translation>
    </message>
    <message>
        <source>工作簿中没有工作表，文件已损坏。</source>
        <translation>The workbook has no sheets; the file is damaged.</translation>
    </message>
    <message>
        <source>工作表“%1”的行编号无效，文件已损坏。</source>
        <translation>The sheet &quot;%1&quot; has an invalid row number; the file is damaged.</translation>
    </message>
    <message>
        <source>工作表“%1”的单元格引用无效，文件已损坏。</source>
        <translation>The sheet &quot;%1&quot; has an invalid cell reference; the file is damaged.</translation>
    </message>
    <message>
        <source>工作表“%1”的单元格顺序无效，文件已损坏。</source>
        <translation>The sheet &quot;%1&quot; has its cells out of order; the file is damaged.</translation>
    </message>
    <message>
        <source>下标越界：工作簿没有第 %1 个工作表。</source>
        <translation>Subscript out of range: the workbook has no sheet %1.</translation>
    </message>
    <message>
        <source>无法保存“%1”：此电子表格组件只能保存 Excel 2007 及以后的格式（.xlsx、.xltx）。</source>
        <translation>Cannot save &quot;%1&quot;: this spreadsheet component saves only Excel 2007 and later formats (.xlsx, .xltx).</translation>
    </message>
    <message>
        <source>工作表名称“%1”无效：名称不能为空、不能超过 31 个字符、不能含有 : \ / ? * [ ]、不能以单引号开始或结束，也不能与其他工作表同名。</source>
        <translation>The sheet name &quot;%1&quot; is invalid: a name must not be empty, be longer than 31 characters, contain : \ / ? * [ ], begin or end with an apostrophe, or be the name of another sheet.</translation>
    </message>
    <message>
        <source>“%1”不是工作表，不能写入单元格。</source>
        <translation>&quot;%1&quot; is not a worksheet; cells cannot be written to it.</translation>
    </message>
    <message>
        <source>单元格 %1 的文本超过 32767 个字符。</source>
        <translation>The text of cell %1 is longer than 32767 characters.</translation>
    </message>
    <message>
        <source>单元格 %1 的文本不是有效的 UTF-8 编码。</source>
        <translation>The text of cell %1 is not valid UTF-8.</translation>
    </message>
    <message>
        <source>图片不是有效的 PNG 图像，无法放入工作簿。</source>
        <translation>The picture is not a valid PNG image and cannot be put into the workbook.</translation>
    </message>
    <message>
        <source>找不到文件“%1”。请检查文件名和路径是否正确。</source>
        <translation>Cannot find the file &quot;%1&quot;. Check that the file name and path are correct.</translation>
    </message>
    <message>
        <source>无法打开文件“%1”：%2</source>
        <translation>Cannot open the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>无法打开文件“%1”：文件格式或扩展名无效，不是 Excel 工作簿。</source>
        <translation>Cannot open the file &quot;%1&quot;: the file format or extension is not valid; it is not an Excel workbook.</translation>
    </message>
    <message>
        <source>文件“%1”已损坏，无法读取。</source>
        <translation>The file &quot;%1&quot; is damaged and cannot be read.</translation>
    </message>
    <message>
        <source>文件“%1”过大或已损坏，无法打开。</source>
        <translation>The file &quot;%1&quot; is too large or damaged and cannot be opened.</translation>
    </message>
    <message>
        <source>无法保存“%1”：文件夹不存在。</source>
        <translation>Cannot save &quot;%1&quot;: the folder does not exist.</translation>
    </message>
    <message>
        <source>无法保存“%1”：已有同名的文件夹。</source>
        <translation>Cannot save &quot;%1&quot;: a folder of that name exists.</translation>
    </message>
    <message>
        <source>无法保存“%1”：内存不足。</source>
        <translation>Cannot save &quot;%1&quot;: out of memory.</translation>
    </message>
    <message>
        <source>无法保存“%1”。</source>
        <translation>Cannot save &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>无法保存“%1”：文件正在使用或没有写入权限。</source>
        <translation>Cannot save &quot;%1&quot;: the file is in use or there is no permission to write it.</translation>
    </message>
    <message>
        <source>工作簿缺少部件“%1”，文件已损坏。</source>
        <translation>The workbook lacks the part &quot;%1&quot;; the file is damaged.</translation>
    </message>
    <message>
        <source>打印需要图形界面，当前进程不能打印。</source>
        <translation>Printing needs a graphical interface; this process cannot print.</translation>
    </message>
    <message>
        <source>工作表“%1”中没有可打印的内容。</source>
        <translation>The sheet &quot;%1&quot; has nothing to print.</translation>
    </message>
    <message>
        <source>没有可用的默认打印机，无法打印。请先在系统中添加打印机并设为默认打印机。</source>
        <translation>There is no default printer; cannot print. Add a printer in the system and make it the default printer first.</translation>
    </message>
    <message>
        <source>找不到打印机“%1”，无法打印。</source>
        <translation>Cannot find the printer &quot;%1&quot;; cannot print.</translation>
    </message>
    <message>
        <source>打印机“%1”无法开始打印。</source>
        <translation>The printer &quot;%1&quot; cannot start printing.</translation>
    </message>
    <message>
        <source>打印机“%1”打印失败。</source>
        <translation>The printer &quot;%1&quot; failed to print.</translation>
    </message>
    <message>
        <source>工作簿的部件“%1”已损坏（XML 错误：%2）。</source>
        <translation>The workbook part &quot;%1&quot; is damaged (XML error: %2).</translation>
    </message>
    <message>
        <source>HETP
m</source>
        <translation>HETP
m</translation>
    </message>
    <message>
        <source>计算报表</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>校核</source>
        <comment>rate the column</comment>
        <translation>Rate</translation>
    </message>
    <message>
        <source>项目文件“%1”的填料段多于 %2 段，未打开。</source>
        <translation>The project file &quot;%1&quot; holds more than %2 beds; it was not opened.</translation>
    </message>
    <message>
        <source>项目文件“%1”的塔板多于 %2 块，未打开。</source>
        <translation>The project file &quot;%1&quot; holds more than %2 stages; it was not opened.</translation>
    </message>
    <message>
        <source>项目文件“%1”已损坏，从第 %2 行起无法读取。</source>
        <translation>The project file &quot;%1&quot; is damaged: it cannot be read from line %2 on.</translation>
    </message>
    <message>
        <source>项目文件“%1”已损坏，第 %2 行无法读取：%3</source>
        <translation>The project file &quot;%1&quot; is damaged: line %2 cannot be read: %3</translation>
    </message>
    <message>
        <source>项目文件“%1”已损坏：%2</source>
        <translation>The project file &quot;%1&quot; is damaged: %2</translation>
    </message>
    <message>
        <source>正在从 HYSYS 读取整塔数据…已用 %1 秒，最多 %2 秒。</source>
        <translation>Reading the whole column from HYSYS... %1 s used of at most %2 s.</translation>
    </message>
    <message>
        <source>HYSYS 整塔数据导入超过 %1 秒，已停止。</source>
        <translation>The whole-column import from HYSYS took longer than %1 s and was stopped.</translation>
    </message>
    <message>
        <source>Excel 文件(*.xls;xlsx)</source>
        <translation>Excel files</translation>
    </message>
    <message>
        <source>Excel 文件(*.xls)</source>
        <translation>Excel files</translation>
    </message>
    <message>
        <source>Excel 文件(*.xlsx)</source>
        <translation>Excel files</translation>
    </message>
    <message>
        <source>PDF 文件(*.pdf)</source>
        <translation>PDF files</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>&quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1须为不小于1的整数。</source>
        <translation>%1 must be a whole number from 1 up.</translation>
    </message>
    <message>
        <source>%1须为大于0且不超过100的百分数。</source>
        <translation>%1 must be a percentage above 0 and at most 100.</translation>
    </message>
    <message>
        <source>%1为%2%，超过100%：设计气速将高于泛点气速。是否保留该值？</source>
        <translation>%1 is %2 %, above 100 %: the design vapour velocity would exceed the flooding velocity. Keep this value?</translation>
    </message>
    <message>
        <source>第%1板：%2</source>
        <translation>stage %1: %2</translation>
    </message>
    <message>
        <source>输入超出关联式的计算范围</source>
        <translation>the inputs lie outside what the correlations can compute</translation>
    </message>
    <message>
        <source>段内没有可校核的填料板</source>
        <translation>no packed stage in the bed</translation>
    </message>
    <message>
        <source>有板未算完，不计总高和总压降</source>
        <translation>a stage did not complete: no height or pressure drop</translation>
    </message>
    <message>
        <source>有板缺少HETP或压降，不计总高和总压降</source>
        <translation>a stage has no HETP or pressure drop: no height or pressure drop</translation>
    </message>
    <message>
        <source>无气相流量</source>
        <translation>no vapour flow</translation>
    </message>
    <message>
        <source>无液相流量</source>
        <translation>no liquid flow</translation>
    </message>
    <message>
        <source>泛点F因子</source>
        <translation>Flood F-factor</translation>
    </message>
    <message>
        <source>泛点压降参考值(Kister-Gill)</source>
        <translation>Flood pressure drop reference (Kister-Gill)</translation>
    </message>
    <message>
        <source>撤销载入塔板</source>
        <translation>Undo stage load</translation>
    </message>
    <message>
        <source>计算页的工况已修改。用第%1板的数据替换它吗？（可用Ctrl+Z撤销）</source>
        <translation>The case on the calculation page has been modified. Replace it with stage %1? (Ctrl+Z undoes this.)</translation>
    </message>
    <message>
        <source>正在校核塔板……</source>
        <translation>Rating the stages...</translation>
    </message>
    <message>
        <source>该值超出计算模型的适用范围，不是可用的结果，也不参与其他数值的计算（原因见操作核算的警告）。</source>
        <translation>This value is outside the range of the model: it is no result to use and enters no other figure (the warnings of the operating check say why).</translation>
    </message>
    <message>
        <source>所选泛点算法在此流动参数下给出的负荷因子小于或等于零，超出其适用范围，不能计算泛点气速。</source>
        <translation>The selected flooding method gives a load factor at or below zero at this flow parameter (outside its range): no flooding velocity can be computed.</translation>
    </message>
    <message>
        <source>“气相负荷”超过系统极限负荷(液体发泡系数×泛点气速)的90%，接近液泛。</source>
        <translation>&quot;Vapour load&quot; exceeds 90% of the system limit (foaming factor x flooding velocity): close to flooding.</translation>
    </message>
    <message>
        <source>“气相负荷”达到或超过系统极限负荷(液体发泡系数×泛点气速)：发泡的塔在液泛之前已超负荷。</source>
        <translation>&quot;Vapour load&quot; reaches or exceeds the system limit (foaming factor x flooding velocity): the foaming column is overloaded before it floods.</translation>
    </message>
    <message>
        <source>给定塔径下实际泛点率比设计值(泛点预设×液体发泡系数)高出5个百分点以上：塔在设计基准以上运行。</source>
        <translation>At the given diameter the actual flooding is 5 points or more above the design value (design flooding x foaming factor): the column runs above its design basis.</translation>
    </message>
    <message>
        <source>“湿塔压降(每米)”是液泛床层的液柱压头而不是压降，已超出压降模型的适用范围。</source>
        <translation>&quot;Wet Δp per m&quot; is the head of the flooded bed, not a pressure drop: outside the range of the pressure-drop model.</translation>
    </message>
    <message>
        <source>“持液量”达到或超过压降模型自身液泛点(湿塔压降达到液柱压头)的持液量，已超出持液量模型的适用范围。</source>
        <translation>&quot;Liquid holdup&quot; reaches or exceeds the holdup at the model&apos;s own flood point (wet pressure drop equal to the liquid head): outside the range of the holdup model.</translation>
    </message>
    <message>
        <source>塔已液泛：传质单元高度和“HETP(等板高度)”超出传质模型的适用范围。</source>
        <translation>The column is flooded: the transfer-unit heights and &quot;HETP&quot; are outside the range of the mass-transfer model.</translation>
    </message>
    <message>
        <source>“相对挥发度”无意义：由0.9α=(0.9α+0.1)m得α=m/(9(1−m))，“平衡线斜率”m≥1时α为负或无定义。HETP只用λ=mV/L，不受影响。</source>
        <translation>&quot;Relative volatility&quot; has no meaning: 0.9a = (0.9a + 0.1)m gives a = m/(9(1 - m)), negative or undefined for a slope m &gt;= 1. HETP uses only lambda = mV/L and stands.</translation>
    </message>
    <message>
        <source>实际负荷(100%)</source>
        <translation>Actual load (100%)</translation>
    </message>
    <message>
        <source>项目文件“%1”的记录多于 %2 条，未打开。</source>
        <translation>The project file &quot;%1&quot; holds more than %2 records; it was not opened.</translation>
    </message>
    <message>
        <source>%1 条警告，最严重：%2</source>
        <translation>%1 warning(s), the worst: %2</translation>
    </message>
    <message>
        <source>压降单位</source>
        <translation>Pressure-drop unit</translation>
    </message>
    <message>
        <source>单位制</source>
        <translation>Unit system</translation>
    </message>
    <message>
        <source>工况多于 %1 个。</source>
        <translation>More than %1 load cases.</translation>
    </message>
    <message>
        <source>工况</source>
        <translation>Case</translation>
    </message>
    <message>
        <source>没有名称</source>
        <translation>it has no name</translation>
    </message>
    <message>
        <source>名称太长</source>
        <translation>its name is too long</translation>
    </message>
    <message>
        <source>名称重复</source>
        <translation>its name is used twice</translation>
    </message>
    <message>
        <source>缺少气相或液相流量</source>
        <translation>the vapour or the liquid mass flow is missing</translation>
    </message>
    <message>
        <source>工况“%1”的%2无效。</source>
        <translation>Case &quot;%1&quot;: the %2 is not valid.</translation>
    </message>
    <message>
        <source>工况%1</source>
        <translation>Case %1</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>增加工况</source>
        <translation>Add case</translation>
    </message>
    <message>
        <source>删除工况</source>
        <translation>Remove case</translation>
    </message>
    <message>
        <source>工况“%1”的%2不是数字：%3</source>
        <translation>Case &quot;%1&quot;: the %2 is not a number: %3</translation>
    </message>
    <message>
        <source>工况校核</source>
        <translation>Load cases</translation>
    </message>
    <message>
        <source>设计基准</source>
        <translation>Design basis</translation>
    </message>
    <message>
        <source>压降限值</source>
        <translation>Pressure-drop limit</translation>
    </message>
    <message>
        <source>最保守泛点</source>
        <translation>Most conservative flood point</translation>
    </message>
    <message>
        <source>泛点率控制塔径</source>
        <translation>Flooding governs the diameter</translation>
    </message>
    <message>
        <source>压降限值控制塔径</source>
        <translation>The pressure-drop limit governs the diameter</translation>
    </message>
    <message>
        <source>最低泛点：%1</source>
        <translation>Lowest flood point: %1</translation>
    </message>
    <message>
        <source>项目文件“%1”的工况多于 %2 个，未打开。</source>
        <translation>The project file &quot;%1&quot; holds more than %2 load cases; it was not opened.</translation>
    </message>
    <message>
        <source>按泛点率</source>
        <translation>By flooding fraction</translation>
    </message>
    <message>
        <source>按压降限值</source>
        <translation>By pressure-drop limit</translation>
    </message>
    <message>
        <source>泛点率和压降兼顾</source>
        <translation>By flooding and pressure drop</translation>
    </message>
    <message>
        <source>塔径按泛点率、按湿塔压降限值或两者兼顾确定。</source>
        <translation>The diameter is sized by the flooding fraction, by the wet pressure-drop limit, or by both.</translation>
    </message>
    <message>
        <source>每米填料的湿塔压降上限，mbar/m。</source>
        <translation>Upper limit of the wet pressure drop per metre of packing, mbar/m.</translation>
    </message>
    <message>
        <source>取三种泛点算法中最小的泛点气速设计塔径。</source>
        <translation>Sizes the diameter to the lowest flooding velocity of the three correlations.</translation>
    </message>
    <message>
        <source>填料参数不全，未参与最保守泛点：</source>
        <translation>Left out of the most conservative flood point (packing data incomplete): </translation>
    </message>
    <message>
        <source>在系统极限负荷以内湿塔压降达不到压降限值，无法按压降确定塔径。</source>
        <translation>Within the system limit load the wet pressure drop does not reach the pressure-drop limit: the diameter cannot be sized by pressure drop.</translation>
    </message>
    <message>
        <source>压降限值须为大于0的数(mbar/m)。</source>
        <translation>The pressure-drop limit must be a number above 0 (mbar/m).</translation>
    </message>
    <message>
        <source>没有可用的泛点算法，或有算法给出的泛点气速小于或等于零，不能取最保守泛点。</source>
        <translation>No flooding correlation can be used, or one gives a flood velocity of zero or less: the most conservative flood velocity cannot be taken.</translation>
    </message>
    <message>
        <source>正常工况未算完，无操作弹性范围</source>
        <translation>The normal case did not complete: no operating window</translation>
    </message>
    <message>
        <source>最低负荷不低于最高负荷，无操作弹性范围</source>
        <translation>The lowest load is not below the highest: no operating window</translation>
    </message>
    <message>
        <source>最小润湿</source>
        <translation>minimum wetting</translation>
    </message>
    <message>
        <source>最小F因子</source>
        <translation>minimum F-factor</translation>
    </message>
    <message>
        <source>设计泛点率</source>
        <translation>design flooding</translation>
    </message>
    <message>
        <source>系统极限负荷率
%</source>
        <translation>Of system limit
%</translation>
    </message>
    <message>
        <source>液体喷淋密度
m3/(m2·h)</source>
        <translation>Spray density
m3/(m2·h)</translation>
    </message>
    <message>
        <source>塔径 %1 m</source>
        <translation>Diameter %1 m</translation>
    </message>
    <message>
        <source>控制工况：%1</source>
        <translation>Governing case: %1</translation>
    </message>
    <message>
        <source>操作范围（%1按等液气比缩放）：最低 %2%（%3），最高 %4%（%5），操作弹性 %6</source>
        <translation>Operating window (%1 scaled at constant L/V): lowest %2% (%3), highest %4% (%5), turndown %6</translation>
    </message>
    <message>
        <source>操作范围：</source>
        <translation>Operating window: </translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>公制 (SI)</source>
        <translation>Metric (SI)</translation>
    </message>
    <message>
        <source>英制 (US)</source>
        <translation>US customary (US)</translation>
    </message>
    <message>
        <source>“湿塔压降(每米)”超过压降限值：塔在设计基准以上运行。</source>
        <translation>&quot;Wet Δp per m&quot; is above the pressure-drop limit: the column runs above its design basis.</translation>
    </message>
    <message>
        <source>无法创建文件夹“%1”。%2</source>
        <translation>Cannot create folder “%1”. %2</translation>
    </message>
    <message>
        <source>名称含无效字符</source>
        <translation>its name holds an invalid character</translation>
    </message>
    <message>
        <source>用工况“%1”替换计算页的数据吗？将被替换的是：%2。</source>
        <translation>Replace the calculation page&apos;s data with case “%1”? This replaces: %2.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>导入的工况将替换现有的 %1 个工况。继续吗？</source>
        <translation>The imported cases will replace the cases in the table (%1). Continue?</translation>
    </message>
    <message>
        <source>项目文件“%1”不完整：从第 %2 行起的记录“%3”缺少行，未打开。</source>
        <translation>The project file “%1” is incomplete: the record “%3” from line %2 lacks lines; it was not opened.</translation>
    </message>
    <message>
        <source>项目文件“%1”已损坏：第 %2 行不是有效的 UTF-8 文本。</source>
        <translation>The project file “%1” is damaged: line %2 is not valid UTF-8 text.</translation>
    </message>
    <message>
        <source>项目文件“%1”的换行符已被转换，从第 %2 行起无法分清记录，未打开。</source>
        <translation>The line ends of the project file “%1” were converted; its records cannot be told apart from line %2 on. It was not opened.</translation>
    </message>
    <message>
        <source>† 超出模型适用范围，数值仅供参考，不作为结果。</source>
        <translation>† Beyond the model&apos;s range: for reference only, not a result.</translation>
    </message>
    <message>
        <source>‡ 未按所示输入重新计算。</source>
        <translation>‡ Not recalculated for the inputs shown.</translation>
    </message>
    <message>
        <source>计算结果未按所示输入重新计算，标有“‡”的数值不属于这些输入。</source>
        <translation>The results were not recalculated for the inputs shown; values marked “‡” do not belong to these inputs.</translation>
    </message>
    <message>
        <source>计算失败：</source>
        <translation>Calculation failed: </translation>
    </message>
    <message>
        <source>按塔径 %1 绘制</source>
        <translation>Drawn at diameter %1</translation>
    </message>
    <message>
        <source>按塔段塔径 %1 绘制（工况校核）</source>
        <translation>Drawn at the section&apos;s diameter %1 (load cases)</translation>
    </message>
    <message>
        <source>确定塔径的工况：%1</source>
        <translation>Case that sized the section: %1</translation>
    </message>
    <message>
        <source>—：取自计算页的值。</source>
        <translation>—: value taken from the calculation page.</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>控制泛点的关联式</source>
        <translation>Flood correlation that governed</translation>
    </message>
    <message>
        <source>控制塔径</source>
        <translation>Diameter governed by</translation>
    </message>
    <message>
        <source>操作范围</source>
        <translation>Operating window</translation>
    </message>
    <message>
        <source>五、设计基准</source>
        <translation>5. Design basis</translation>
    </message>
    <message>
        <source>单个理论板的填料高度已超过床层最大高度：每个床层一块板。</source>
        <translation>The packed height of a single theoretical stage exceeds the maximum bed height: one stage per bed.</translation>
    </message>
    <message>
        <source>塔设计需要理论板数、HETP(等板高度)、湿塔压降和实际塔径。</source>
        <translation>The column design needs the number of theoretical stages, the HETP, the irrigated pressure drop and the actual diameter.</translation>
    </message>
    <message>
        <source>塔设计的输入无效：板数、HETP和塔径须为大于0的数。</source>
        <translation>Invalid column design input: the stages, the HETP and the diameter must be numbers above 0.</translation>
    </message>
    <message>
        <source>“气相负荷”超过泛点率上限(占系统极限负荷的百分数)。</source>
        <translation>The vapour load exceeds the maximum percentage of flood (of the foaming-limited capacity).</translation>
    </message>
    <message>
        <source>F因子低于F因子下限。</source>
        <translation>The F-factor is below the minimum F-factor.</translation>
    </message>
    <message>
        <source>F因子低于F因子下限：塔径向上圆整使气速降低所致，塔径不为此向下圆整。</source>
        <translation>The F-factor is below the minimum F-factor because rounding the diameter up lowered the vapour velocity; the diameter is not rounded down to avoid it.</translation>
    </message>
    <message>
        <source>床层压降超过床层压降上限。</source>
        <translation>The bed pressure drop exceeds the maximum bed pressure drop.</translation>
    </message>
    <message>
        <source>“液相负荷”低于润湿率下限(最小液体负荷的倍数)。</source>
        <translation>The liquid load is below the minimum wetting ratio (multiple of the minimum liquid load).</translation>
    </message>
    <message>
        <source>“液相负荷”低于润湿率下限：塔径向上圆整使液相负荷降低所致，塔径不为此向下圆整。</source>
        <translation>The liquid load is below the minimum wetting ratio because rounding the diameter up lowered it; the diameter is not rounded down to avoid it.</translation>
    </message>
    <message>
        <source>液体分布器(管式)</source>
        <translation>Liquid distributor (pipe)</translation>
    </message>
    <message>
        <source>液体分布器(盘式)</source>
        <translation>Liquid distributor (pan)</translation>
    </message>
    <message>
        <source>液体分布器(槽式)</source>
        <translation>Liquid distributor (trough)</translation>
    </message>
    <message>
        <source>压紧栅</source>
        <translation>Hold-down</translation>
    </message>
    <message>
        <source>支承板</source>
        <translation>Support plate</translation>
    </message>
    <message>
        <source>集液器</source>
        <translation>Collector</translation>
    </message>
    <message>
        <source>塔顶空间</source>
        <translation>Top disengagement</translation>
    </message>
    <message>
        <source>人孔空间</source>
        <translation>Manway space</translation>
    </message>
    <message>
        <source>床层%1：%2块理论板，%3 m，%4 mbar</source>
        <translation>Bed %1: %2 theoretical stages, %3 m, %4 mbar</translation>
    </message>
    <message>
        <source>塔釜</source>
        <translation>Sump</translation>
    </message>
    <message>
        <source>塔径 %1 m，切线高度 %2 m，总压降 %3 mbar</source>
        <translation>Diameter %1 m, tangent-to-tangent height %2 m, total pressure drop %3 mbar</translation>
    </message>
    <message>
        <source>塔设计</source>
        <translation>Column design</translation>
    </message>
    <message>
        <source>总高和总压降不含段内跳过的板(无流量、冷凝器或再沸器)</source>
        <translation>The height and pressure drop leave out the stages of this bed that were skipped (no flow, condenser or reboiler)</translation>
    </message>
    <message>
        <source>冷凝器，不是填料板</source>
        <translation>condenser, not a packed stage</translation>
    </message>
    <message>
        <source>再沸器，不是填料板</source>
        <translation>reboiler, not a packed stage</translation>
    </message>
    <message>
        <source>泛点率上限(%)</source>
        <translation>Maximum flood (%)</translation>
    </message>
    <message>
        <source>F因子下限(Pa^0.5)</source>
        <translation>Minimum F-factor (Pa^0.5)</translation>
    </message>
    <message>
        <source>床层压降上限(mbar)</source>
        <translation>Maximum bed pressure drop (mbar)</translation>
    </message>
    <message>
        <source>润湿率下限</source>
        <translation>Minimum wetting ratio</translation>
    </message>
    <message>
        <source>塔径圆整步长(如0.1m、6in)</source>
        <translation>Diameter step (e.g. 0.1m, 6in)</translation>
    </message>
    <message>
        <source>HETP裕量(%)</source>
        <translation>HETP margin (%)</translation>
    </message>
    <message>
        <source>床层最大高度(m)</source>
        <translation>Maximum bed height (m)</translation>
    </message>
    <message>
        <source>每床层最多理论板数</source>
        <translation>Maximum stages per bed</translation>
    </message>
    <message>
        <source>高度(m)</source>
        <translation>Height (m)</translation>
    </message>
    <message>
        <source>液体分布器</source>
        <translation>Liquid distributor</translation>
    </message>
    <message>
        <source>设计限值和床层</source>
        <translation>Design limits and beds</translation>
    </message>
    <message>
        <source>填料床层</source>
        <translation>Packed bed</translation>
    </message>
    <message>
        <source>全塔(切线高度)</source>
        <translation>Column (tangent to tangent)</translation>
    </message>
    <message>
        <source>干塔压降(每英尺)</source>
        <translation>Dry Δp per ft</translation>
    </message>
    <message>
        <source>湿塔压降(每英尺)</source>
        <translation>Wet Δp per ft</translation>
    </message>
    <message>
        <source>选择文件…</source>
        <translation>Choose file...</translation>
    </message>
    <message>
        <source>添加填料…</source>
        <translation>Add packing...</translation>
    </message>
    <message>
        <source>修改填料…</source>
        <translation>Edit packing...</translation>
    </message>
    <message>
        <source>删除填料</source>
        <translation>Remove packing</translation>
    </message>
    <message>
        <source>用户填料</source>
        <translation>User packing</translation>
    </message>
    <message>
        <source>用户填料库：%1</source>
        <translation>User packings: %1</translation>
    </message>
    <message>
        <source>（无）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>用户填料库“%1”有错误，未读入，填料库保持不变：</source>
        <translation>The user packings &quot;%1&quot; have faults and were not read; the catalogue is unchanged:</translation>
    </message>
    <message>
        <source>无法保存用户填料库“%1”：%2</source>
        <translation>Cannot save the user packings &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>计算页正在使用填料“%1”，不能删除。</source>
        <translation>The calculation page uses the packing &quot;%1&quot;; it cannot be removed.</translation>
    </message>
    <message>
        <source>选择用户填料库</source>
        <translation>Choose the user packings file</translation>
    </message>
    <message>
        <source>HETP(Rocha-Bravo-Fair)</source>
        <translation>HETP (Rocha-Bravo-Fair)</translation>
    </message>
    <message>
        <source>HETP离散度(大/小)</source>
        <translation>HETP spread (largest/smallest)</translation>
    </message>
    <message>
        <source>设计等板高度取</source>
        <translation>Design HETP from</translation>
    </message>
    <message>
        <source>设计HETP</source>
        <translation>Design HETP</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>项目中的填料“%1”与用户填料库中的同名填料数据不同，本项目按项目中保存的数据计算。</source>
        <translation>The project&apos;s packing &quot;%1&quot; has other numbers than the user packing of that name; this project computes with the numbers it was saved with.</translation>
    </message>
    <message>
        <source>本页模型</source>
        <translation>This page&apos;s model</translation>
    </message>
    <message>
        <source>Rocha-Bravo-Fair模型</source>
        <translation>Rocha-Bravo-Fair model</translation>
    </message>
    <message>
        <source>各模型最大值</source>
        <translation>Largest of the models</translation>
    </message>
    <message>
        <source>填料层高度采用的等板高度：本页模型、Rocha-Bravo-Fair模型或两者中较大者。</source>
        <translation>The HETP the packed height is built on: this page&apos;s model, the Rocha-Bravo-Fair model or the larger of the two.</translation>
    </message>
    <message>
        <source>Rocha-Bravo-Fair模型的有效传质面积大于填料比表面积(ae/a&gt;1)，该等板高度仅供参考。</source>
        <translation>The effective area of the Rocha-Bravo-Fair model is larger than the specific surface of the packing (ae/a&gt;1); its HETP is for reference only.</translation>
    </message>
    <message>
        <source>缺少传质计算所需的数据。</source>
        <translation>Data the mass-transfer calculation needs are missing.</translation>
    </message>
    <message>
        <source>气速已达到或超过泛点，传质模型不适用。</source>
        <translation>The vapour load is at or beyond flooding; the mass-transfer model does not apply.</translation>
    </message>
    <message>
        <source>持液量超出模型范围，传质模型不适用。</source>
        <translation>The holdup is beyond the range of the model; the mass-transfer model does not apply.</translation>
    </message>
    <message>
        <source>计算未完成或结果已过时，传质模型未计算。</source>
        <translation>The calculation did not complete or its results are out of date; the mass-transfer model was not evaluated.</translation>
    </message>
    <message>
        <source>（给定塔径，核算）</source>
        <translation> (given diameter, rated)</translation>
    </message>
    <message>
        <source>（理论塔径%1向上圆整，不突破设计基准）</source>
        <translation> (theoretical %1 rounded up, so that the design basis holds)</translation>
    </message>
    <message>
        <source>（理论塔径%1圆整）</source>
        <translation> (theoretical %1 rounded)</translation>
    </message>
    <message>
        <source>采用塔径</source>
        <translation>Diameter used</translation>
    </message>
</context>
</TS>
