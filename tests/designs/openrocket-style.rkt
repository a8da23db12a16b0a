<RockSimDocument>
    <FileVersion>4</FileVersion>
    <DesignInformation>
        <RocketDesign>
            <Name>Exported <![CDATA[A&B]]></Name>
            <StageCount>1</StageCount>
            <Stage3Parts>
                <BodyTube>
                    <Name>Body tube</Name>
                    <Len>631.8</Len>
                    <FinishCode>0</FinishCode>
                    <OD>100.0</OD>
                    <ID>98.06</ID>
                    <AttachedParts>
                        <CustomFinSet>
                            <Name>Custom Fin-1</Name>
                            <Len>406.0</Len>
                            <FinCount>4</FinCount>
                            <RootChord>0.0</RootChord>
                            <SemiSpan>0.0</SemiSpan>
                            <Thickness>4.78</Thickness>
                            <PointList>406.0,0.0|300.0,128.0|100.0,128.0|0.0,0.0|</PointList>
                        </CustomFinSet>
                    </AttachedParts>
                </BodyTube>
            </Stage3Parts>
            <Stage2Parts/>
            <Stage1Parts/>
        </RocketDesign>
    </DesignInformation>
</RockSimDocument>