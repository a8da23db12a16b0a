<RockSimDocument>
  <FileVersion>4</FileVersion>
  <DesignInformation>
    <RocketDesign>
      <Name>Goliath 4</Name>
      <StageCount>1</StageCount>
      <Stage3Parts>
        <NoseCone>
          <Name>Tangent ogive</Name>
          <Len>406.4</Len>
          <BaseDia>101.6</BaseDia>
          <AttachedParts>
          </AttachedParts>
        </NoseCone>
        <BodyTube>
          <Name>4 in airframe</Name>
          <OD>101.6</OD>
          <ID>98.</ID>
          <Len>1219.2</Len>
          <AttachedParts>
            <FinSet>
              <Name>Booster fins</Name>
              <FinCount>4</FinCount>
              <RootChord>305.</RootChord>
              <TipChord>102.</TipChord>
              <SemiSpan>165.</SemiSpan>
              <Thickness>4.8</Thickness>
              <ShapeCode>0</ShapeCode>
            </FinSet>
          </AttachedParts>
        </BodyTube>
      </Stage3Parts>
      <Stage2Parts>
      </Stage2Parts>
      <Stage1Parts>
      </Stage1Parts>
    </RocketDesign>
  </DesignInformation>
</RockSimDocument>
